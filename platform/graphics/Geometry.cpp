#include "platform/graphics/Geometry.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace platform {

double Rect::minX() const {
    return std::min(origin.x, origin.x + size.width);
}
double Rect::maxX() const {
    return std::max(origin.x, origin.x + size.width);
}
double Rect::midX() const {
    return origin.x + size.width / 2;
}
double Rect::minY() const {
    return std::min(origin.y, origin.y + size.height);
}
double Rect::maxY() const {
    return std::max(origin.y, origin.y + size.height);
}
double Rect::midY() const {
    return origin.y + size.height / 2;
}
double Rect::width() const {
    return std::abs(size.width);
}
double Rect::height() const {
    return std::abs(size.height);
}

bool Rect::isEmpty() const {
    return !(width() > 0) || !(height() > 0);
}

bool Rect::contains(Point p) const {
    return !isEmpty() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::intersects(const Rect& other) const {
    return !isEmpty() && !other.isEmpty() && minX() < other.maxX() && other.minX() < maxX() &&
           minY() < other.maxY() && other.minY() < maxY();
}

Rect Rect::insetBy(double dx, double dy) const {
    return inset(EdgeInsets{dy, dx, dy, dx});
}

Rect Rect::inset(const EdgeInsets& insets) const {
    double x = minX() + insets.left;
    double y = minY() + insets.top;
    double w = width() - insets.left - insets.right;
    double h = height() - insets.top - insets.bottom;
    if (!(w >= 0) || !(h >= 0)) {
        return Rect{Point{midX(), midY()}, Size{}};
    }
    return Rect{Point{x, y}, Size{w, h}};
}

Rect Rect::offsetBy(double dx, double dy) const {
    return Rect{Point{origin.x + dx, origin.y + dy}, size};
}

Rect Rect::intersection(const Rect& other) const {
    if (!intersects(other)) {
        return Rect{};
    }
    double x = std::max(minX(), other.minX());
    double y = std::max(minY(), other.minY());
    double right = std::min(maxX(), other.maxX());
    double bottom = std::min(maxY(), other.maxY());
    return Rect{Point{x, y}, Size{right - x, bottom - y}};
}

Rect Rect::unionWith(const Rect& other) const {
    if (isEmpty()) {
        return other;
    }
    if (other.isEmpty()) {
        return *this;
    }
    double x = std::min(minX(), other.minX());
    double y = std::min(minY(), other.minY());
    double right = std::max(maxX(), other.maxX());
    double bottom = std::max(maxY(), other.maxY());
    return Rect{Point{x, y}, Size{right - x, bottom - y}};
}

AffineTransform AffineTransform::makeTranslation(double x, double y) {
    return AffineTransform{1, 0, 0, 1, x, y};
}

AffineTransform AffineTransform::makeRotation(double radians) {
    double cosine = std::cos(radians);
    double sine = std::sin(radians);
    return AffineTransform{cosine, sine, -sine, cosine, 0, 0};
}

AffineTransform AffineTransform::makeScale(double sx, double sy) {
    return AffineTransform{sx, 0, 0, sy, 0, 0};
}

AffineTransform AffineTransform::translated(double x, double y) const {
    return makeTranslation(x, y).concat(*this);
}

AffineTransform AffineTransform::rotated(double radians) const {
    return makeRotation(radians).concat(*this);
}

AffineTransform AffineTransform::scaled(double sx, double sy) const {
    return makeScale(sx, sy).concat(*this);
}

AffineTransform AffineTransform::concat(const AffineTransform& o) const {
    return AffineTransform{a * o.a + b * o.c,          a * o.b + b * o.d,
                           c * o.a + d * o.c,          c * o.b + d * o.d,
                           tx * o.a + ty * o.c + o.tx, tx * o.b + ty * o.d + o.ty};
}

AffineTransform AffineTransform::inverted() const {
    double det = a * d - b * c;
    if (det == 0 || !std::isfinite(det)) {
        return *this;
    }
    return AffineTransform{
        d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

Point AffineTransform::apply(Point p) const {
    return Point{a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

Rect AffineTransform::apply(const Rect& r) const {
    Point corners[4] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                        apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
    double left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (const Point& p : corners) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return Rect{Point{left, top}, Size{right - left, bottom - top}};
}

bool AffineTransform::isIdentity() const {
    return *this == AffineTransform{};
}

bool operator==(const Point& l, const Point& r) {
    return l.x == r.x && l.y == r.y;
}
bool operator==(const Size& l, const Size& r) {
    return l.width == r.width && l.height == r.height;
}
bool operator==(const Rect& l, const Rect& r) {
    return l.origin == r.origin && l.size == r.size;
}
bool operator==(const EdgeInsets& l, const EdgeInsets& r) {
    return l.top == r.top && l.left == r.left && l.bottom == r.bottom && l.right == r.right;
}
bool operator==(const AffineTransform& l, const AffineTransform& r) {
    return l.a == r.a && l.b == r.b && l.c == r.c && l.d == r.d && l.tx == r.tx && l.ty == r.ty;
}

std::ostream& operator<<(std::ostream& out, const Point& p) {
    return out << "{" << p.x << ", " << p.y << "}";
}
std::ostream& operator<<(std::ostream& out, const Size& s) {
    return out << "{" << s.width << ", " << s.height << "}";
}
std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "{" << r.origin << ", " << r.size << "}";
}
std::ostream& operator<<(std::ostream& out, const EdgeInsets& e) {
    return out << "{" << e.top << ", " << e.left << ", " << e.bottom << ", " << e.right << "}";
}
std::ostream& operator<<(std::ostream& out, const AffineTransform& t) {
    return out << "[" << t.a << ", " << t.b << ", " << t.c << ", " << t.d << ", " << t.tx << ", "
               << t.ty << "]";
}

}  // namespace platform
