#include <gtest/gtest.h>

#include <numbers>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace platform {
namespace {

constexpr double kPi = std::numbers::pi;

void expectNear(Point actual, Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << actual << " vs " << expected;
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << actual << " vs " << expected;
}

TEST(AffineTransformTest, TranslateThenRotateMapsLikeCoreGraphicsInThePhonesSense) {
    // CGAffineTransformRotate(CGAffineTransformTranslate(identity, w, h), pi): the rotation
    // applies to the point first, then the translation.
    AffineTransform t = AffineTransform::identity().translated(40, 30).rotated(kPi);
    expectNear(t.apply(Point{0, 0}), Point{40, 30});
    expectNear(t.apply(Point{40, 30}), Point{0, 0});
    expectNear(t.apply(Point{10, 0}), Point{30, 30});
    // Positive angles turn +x towards +y; translate (w, 0) then rotate pi/2 for a Left image.
    expectNear(AffineTransform::identity().rotated(kPi / 2).apply(Point{1, 0}), Point{0, 1});
    AffineTransform left = AffineTransform::identity().translated(30, 0).rotated(kPi / 2);
    expectNear(left.apply(Point{0, 30}), Point{0, 0});
}

TEST(AffineTransformTest, ScaleAppliesBeforeTheTranslationAndConcatAppliesTheReceiverFirst) {
    AffineTransform t = AffineTransform::identity().translated(10, 0).scaled(2, 3);
    EXPECT_EQ(t.apply(Point{1, 1}), (Point{12, 3}));
    AffineTransform scale = AffineTransform::makeScale(2, 2);
    AffineTransform move = AffineTransform::makeTranslation(5, 0);
    EXPECT_EQ(scale.concat(move).apply(Point{1, 1}), (Point{7, 2}));
    EXPECT_EQ(move.concat(scale).apply(Point{1, 1}), (Point{12, 2}));
}

TEST(AffineTransformTest, InvertedUndoesAndIdentityIsRecognised) {
    AffineTransform t = AffineTransform::identity().translated(7, -3).rotated(0.3).scaled(2, 5);
    expectNear(t.inverted().apply(t.apply(Point{4, 9})), Point{4, 9});
    EXPECT_TRUE(AffineTransform::identity().isIdentity());
    EXPECT_FALSE(t.isIdentity());
    AffineTransform singular = AffineTransform::makeScale(0, 1);
    EXPECT_EQ(singular.inverted(), singular);
}

TEST(AffineTransformTest, RectBoundsAfterRotation) {
    Rect r = AffineTransform::makeRotation(kPi / 2).apply(Rect{{0, 0}, {20, 10}});
    EXPECT_NEAR(r.minX(), -10, 1e-9);
    EXPECT_NEAR(r.maxX(), 0, 1e-9);
    EXPECT_NEAR(r.minY(), 0, 1e-9);
    EXPECT_NEAR(r.maxY(), 20, 1e-9);
}

TEST(RectTest, ContainmentExcludesTheMaxEdgesAndNegativeSizesReadAsTheSameArea) {
    Rect r{{10, 20}, {30, 40}};
    EXPECT_EQ(r.midX(), 25);
    EXPECT_EQ(r.maxY(), 60);
    EXPECT_TRUE(r.contains(Point{10, 20}));
    EXPECT_FALSE(r.contains(Point{40, 30})) << "the max edge is outside";
    EXPECT_FALSE(r.contains(Point{9.5, 30}));
    Rect negative{{40, 60}, {-30, -40}};
    EXPECT_EQ(negative.minX(), 10);
    EXPECT_EQ(negative.maxY(), 60);
    EXPECT_EQ(negative.width(), 30);
    EXPECT_TRUE(negative.contains(Point{20, 30}));
}

TEST(RectTest, IntersectionNeedsSharedArea) {
    Rect a{{0, 0}, {10, 10}};
    EXPECT_TRUE(a.intersects(Rect{{5, 5}, {10, 10}}));
    EXPECT_FALSE(a.intersects(Rect{{10, 0}, {10, 10}})) << "touching edges only";
    EXPECT_FALSE(a.intersects(Rect{{2, 2}, {0, 5}})) << "empty rect";
    EXPECT_EQ(a.intersection(Rect{{5, -5}, {10, 10}}), (Rect{{5, 0}, {5, 5}}));
    EXPECT_TRUE(a.intersection(Rect{{20, 20}, {1, 1}}).isEmpty());
    EXPECT_EQ(a.unionWith(Rect{{20, 5}, {5, 10}}), (Rect{{0, 0}, {25, 15}}));
}

TEST(RectTest, InsetShrinksEachSideAndNeverGoesNegative) {
    Rect r{{0, 0}, {100, 50}};
    EXPECT_EQ(r.insetBy(10, 5), (Rect{{10, 5}, {80, 40}}));
    EXPECT_EQ(r.insetBy(-2, 0), (Rect{{-2, 0}, {104, 50}}));
    EXPECT_EQ(r.inset(EdgeInsets{1, 2, 3, 4}), (Rect{{2, 1}, {94, 46}}));
    Rect gone = r.insetBy(60, 0);
    EXPECT_TRUE(gone.isEmpty());
    EXPECT_EQ(gone.origin, (Point{50, 25}));
    EXPECT_TRUE((Rect{{0, 0}, {0, 5}}).isEmpty());
}

TEST(ColorTest, ConvertsToAndFromArgbWords) {
    EXPECT_EQ(Color::rgba(1, 0, 0).argb(), 0xFFFF0000u);
    EXPECT_EQ(Color::whiteAlpha(1, 0.5f).argb(), 0x80FFFFFFu);
    EXPECT_EQ(Color::fromARGB(0xFF00FF00u), Color::greenColor());
    EXPECT_EQ(Color::clear().alpha, 0);
    EXPECT_EQ(Color::redColor().withAlpha(0.25f), Color::rgba(1, 0, 0, 0.25f));
    EXPECT_EQ(Color::rgba(2, -1, 0.5f).argb(), 0xFFFF0080u) << "out-of-range components clamp";
}

}  // namespace
}  // namespace platform
