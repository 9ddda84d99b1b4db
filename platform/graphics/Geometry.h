#pragma once

#include <iosfwd>

namespace platform {

// Geometry in points, as the phone's CGPoint/CGSize/CGRect, with double components.

struct Point {
    double x = 0;
    double y = 0;
};

struct Size {
    double width = 0;
    double height = 0;
};

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
};

struct Rect {
    Point origin;
    Size size;

    // Like the phone's CGRectGet* functions, these read a rect with a negative width or
    // height as the same area with a positive one.
    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const;
    double height() const;

    // Half-open: a point on the max edges is outside, as with CGRectContainsPoint.
    bool contains(Point p) const;
    // Rects that only share an edge do not intersect; an empty rect intersects nothing.
    bool intersects(const Rect& other) const;
    // Shrinks each side by dx / dy (negative values grow). When nothing is left, the result
    // is an empty rect at the centre.
    Rect insetBy(double dx, double dy) const;
    Rect inset(const EdgeInsets& insets) const;
    Rect offsetBy(double dx, double dy) const;
    // The common area; an empty rect (isEmpty) when the two do not intersect.
    Rect intersection(const Rect& other) const;
    // The smallest rect holding both; an empty operand is ignored.
    Rect unionWith(const Rect& other) const;
    bool isEmpty() const;
};

// A 2-D affine transform with the phone's layout: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
struct AffineTransform {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double tx = 0;
    double ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform makeTranslation(double x, double y);
    static AffineTransform makeRotation(double radians);
    static AffineTransform makeScale(double sx, double sy);

    // Each applies the new operation BEFORE this transform, as CGAffineTransformTranslate,
    // CGAffineTransformRotate and CGAffineTransformScale do.
    AffineTransform translated(double x, double y) const;
    AffineTransform rotated(double radians) const;
    AffineTransform scaled(double sx, double sy) const;
    // This transform first, then `other` (CGAffineTransformConcat).
    AffineTransform concat(const AffineTransform& other) const;
    // The inverse; a singular transform is returned unchanged, as the phone does.
    AffineTransform inverted() const;

    Point apply(Point p) const;
    // The bounding box of the transformed rect (CGRectApplyAffineTransform).
    Rect apply(const Rect& r) const;
    bool isIdentity() const;
};

bool operator==(const Point&, const Point&);
bool operator==(const Size&, const Size&);
bool operator==(const Rect&, const Rect&);
bool operator==(const EdgeInsets&, const EdgeInsets&);
bool operator==(const AffineTransform&, const AffineTransform&);

std::ostream& operator<<(std::ostream&, const Point&);
std::ostream& operator<<(std::ostream&, const Size&);
std::ostream& operator<<(std::ostream&, const Rect&);
std::ostream& operator<<(std::ostream&, const EdgeInsets&);
std::ostream& operator<<(std::ostream&, const AffineTransform&);

}  // namespace platform
