#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "location/LMAppTools.h"
#include "location/engine/CComplexPt.h"
#include "location/engine/CVArray.h"
#include "location/engine/CVCodePage.h"
#include "location/engine/CVMem.h"
#include "location/engine/CVString.h"
#include "location/engine/MD5.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/ui/Application.h"
#include "tests/support/TempHome.h"

using namespace _zizaz_vi;

namespace {

std::string narrow(const CVString& s) {
    return CVCodePage::WideCharToMultiByte(CVCodePage::kDoubleByte, s.view());
}

CVArray<_VPoint> part(std::initializer_list<_VPoint> points) {
    CVArray<_VPoint> result;
    for (const auto& p : points) {
        result.Add(p);
    }
    return result;
}

TEST(EngineMD5, RfcVectors) {
    EXPECT_EQ(MD5::HexDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(MD5::HexDigest("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(MD5::HexDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(MD5::HexDigest("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(MD5::HexDigest("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(MD5::HexDigest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(MD5::HexDigest("1234567890123456789012345678901234567890"
                             "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(EngineMD5, Md5AndBase64EncodeAppendsTenDigestDigits) {
    CVString out;
    ASSERT_TRUE(LMAppTools::Md5AndBase64Encode(CVString("abc"), &out));
    EXPECT_EQ(narrow(out), "YWJjMDk4M2NkMjRmYg==");  // "abc" + "0983cd24fb"
    ASSERT_TRUE(LMAppTools::Md5AndBase64Encode(CVString(), &out));
    EXPECT_EQ(narrow(out), "Y2Q5OGYwMGIyMA==");
    // The narrow text keeps ASCII only: "a中b" digests as "ab".
    ASSERT_TRUE(LMAppTools::Md5AndBase64Encode(CVString(u"a\u4e2db"), &out));
    EXPECT_EQ(narrow(out), "YWI0NDM2MTIyZDFj");
    EXPECT_FALSE(LMAppTools::Md5AndBase64Encode(CVString("abc"), nullptr));
}

TEST(EngineGeoString, OnePointRoundTrips) {
    // Kept to hundredths, truncated toward zero.
    for (const LMPoint p : {LMPoint{116.40, 39.91}, LMPoint{-58.38, -34.6}, LMPoint{0.01, 0},
                            LMPoint{21474836.47, -21474836.48}}) {
        CVString geo;
        ASSERT_TRUE(LMAppTools::TransPointToGeo(p, &geo));
        EXPECT_EQ(geo.GetLength(), 15);
        LMPoint back{7, 7};
        EXPECT_TRUE(LMAppTools::TransGeoToPoint(narrow(geo), &back));
        EXPECT_EQ(back.x, std::trunc(p.x * 100) / 100);
        EXPECT_EQ(back.y, std::trunc(p.y * 100) / 100);
    }
    // 11640 and 3990 hundredths, six digits each, least significant first.
    CVString geo;
    ASSERT_TRUE(LMAppTools::TransPointToGeo({116.40, 39.91}, &geo));
    EXPECT_EQ(narrow(geo), ".=41CAAAW+AAAA;");
}

TEST(EngineGeoString, OriginAndOutOfRangePoints) {
    CVString geo;
    ASSERT_TRUE(LMAppTools::TransPointToGeo({0, 0}, &geo));
    LMPoint back{7, 7};
    EXPECT_FALSE(LMAppTools::TransGeoToPoint(narrow(geo), &back));  // decodes, but is 0, 0
    EXPECT_EQ(back, (LMPoint{0, 0}));
    // Hundredths past the integer range saturate rather than overflow.
    ASSERT_TRUE(LMAppTools::TransPointToGeo({1e300, -1e300}, &geo));
    ASSERT_TRUE(LMAppTools::TransGeoToPoint(narrow(geo), &back));
    EXPECT_EQ(back, (LMPoint{21474836.47, -21474836.48}));
    ASSERT_TRUE(LMAppTools::TransPointToGeo({std::numeric_limits<double>::quiet_NaN(), 1}, &geo));
    ASSERT_TRUE(LMAppTools::TransGeoToPoint(narrow(geo), &back));
    EXPECT_EQ(back, (LMPoint{0, 1}));
}

TEST(EngineGeoString, PolylinePartsRoundTripWithShortAndLongSteps) {
    CComplexPt line;
    line.SetType(CComplexPt::kPolyline);
    line.AddPart(part({{100, 200}, {150, 120}, {-8388000, 120}, {2000000000, -2000000000}}));
    line.AddPart(part({{5, 5}}));
    std::string text;
    const int length = line.WriteGeoString(&text);
    ASSERT_GT(length, 0);
    EXPECT_EQ(static_cast<std::size_t>(length), text.size());
    EXPECT_EQ(text.substr(0, 2), ".=");
    EXPECT_NE(text.find(";|.="), std::string::npos);
    EXPECT_NE(text.find(";|-="), std::string::npos);

    CComplexPt decoded;
    ASSERT_TRUE(decoded.DecodeGeoString(text));
    EXPECT_EQ(decoded.GetType(), CComplexPt::kPolyline);
    EXPECT_EQ(decoded.GetMin(), (_VPoint{-8388000, -2000000000}));
    EXPECT_EQ(decoded.GetMax(), (_VPoint{2000000000, 200}));
    ASSERT_EQ(decoded.GetPartSize(), 2);
    ASSERT_EQ(decoded.GetPart(0).GetSize(), 4);
    EXPECT_EQ(decoded.GetPart(0)[1], (_VPoint{150, 120}));
    EXPECT_EQ(decoded.GetPart(0)[2], (_VPoint{-8388000, 120}));
    EXPECT_EQ(decoded.GetPart(0)[3], (_VPoint{2000000000, -2000000000}));
    EXPECT_EQ(decoded.GetPart(1)[0], (_VPoint{5, 5}));

    std::vector<LMPoint> points;
    ASSERT_TRUE(LMAppTools::TransGeoToPoints(text, &points));
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points[1], (LMPoint{1.5, 1.2}));
    std::vector<std::vector<LMPoint>> perPart;
    ASSERT_TRUE(LMAppTools::TransGeoToPointsArray(text, &perPart));
    ASSERT_EQ(perPart.size(), 2u);
    EXPECT_EQ(perPart[0].size(), 4u);
    EXPECT_EQ(perPart[1], (std::vector<LMPoint>{{0.05, 0.05}}));
    LMPoint one;
    EXPECT_FALSE(LMAppTools::TransGeoToPoint(text, &one));  // more than one point

    CComplexPt polygon;
    polygon.SetType(CComplexPt::kPolygon);
    polygon.AddPart(part({{0, 0}, {10, 0}, {10, 10}}));
    ASSERT_GT(polygon.WriteGeoString(&text), 0);
    ASSERT_TRUE(decoded.DecodeGeoString(text));
    EXPECT_EQ(decoded.GetType(), CComplexPt::kPolygon);
    EXPECT_EQ(decoded.GetPart(0)[2], (_VPoint{10, 10}));
}

TEST(EngineGeoString, WriterFailureCodes) {
    std::string text = "kept";
    CComplexPt point(_VPoint{1, 2});
    EXPECT_EQ(point.WriteGeoString(nullptr), CComplexPt::kNoOutput);
    CComplexPt twoPoints;
    twoPoints.SetType(CComplexPt::kPoint);
    twoPoints.AddPart(part({{1, 2}, {3, 4}}));
    EXPECT_EQ(twoPoints.WriteGeoString(&text), CComplexPt::kBadPointGeometry);
    CComplexPt noParts;
    noParts.SetType(CComplexPt::kPolyline);
    EXPECT_EQ(noParts.WriteGeoString(&text), CComplexPt::kNoParts);
    CComplexPt emptyPart;
    emptyPart.SetType(CComplexPt::kPolygon);
    emptyPart.AddPart(CVArray<_VPoint>());
    EXPECT_EQ(emptyPart.WriteGeoString(&text), CComplexPt::kUnencodablePoints);
    CComplexPt unknown;
    unknown.SetType(7);
    unknown.AddPart(part({{1, 2}}));
    EXPECT_EQ(unknown.WriteGeoString(&text), CComplexPt::kUnknownType);
    EXPECT_EQ(text, "kept");  // no partial output
}

TEST(EngineGeoString, MalformedTextDoesNotDecode) {
    std::string good;
    CComplexPt line;
    line.SetType(CComplexPt::kPolyline);
    line.AddPart(part({{1, 2}, {3, 4}}));
    ASSERT_GT(line.WriteGeoString(&good), 0);
    const std::string point = ".=BAAAAACAAAAA;";
    for (const std::string& bad :
         {std::string(), std::string("abc"), std::string(".=BAAA;"), point.substr(0, 14),
          std::string(".=BAAAAECAAAAA;"),  // top digit holds more than two bits
          std::string(".=BAAAA!CAAAAA;"), point + "|" + point, good.substr(0, good.size() - 1),
          good.substr(0, good.find("-=") + 1) + "DAAAEAAA;",  // a part opening with a step
          good + "|x"}) {
        CComplexPt decoded(_VPoint{9, 9});
        EXPECT_FALSE(decoded.DecodeGeoString(bad)) << bad;
        EXPECT_EQ(decoded.GetPart(0)[0], (_VPoint{9, 9}));  // left as it was
        std::vector<LMPoint> points;
        EXPECT_FALSE(LMAppTools::TransGeoToPoints(bad, &points));
        EXPECT_TRUE(points.empty());
    }
    LMPoint p;
    EXPECT_TRUE(LMAppTools::TransGeoToPoint(point, &p));
    EXPECT_EQ(p, (LMPoint{0.01, 0.02}));
}

TEST(EngineArray, GrowsByItsStepAndFreesAtZero) {
    CVArray<_VPoint> array;
    EXPECT_EQ(array.Add({1, 1}), 0);
    EXPECT_EQ(array.GetCapacity(), 4);  // small arrays grow by 4
    EXPECT_TRUE(array.SetSize(40));
    EXPECT_EQ(array[39], (_VPoint{0, 0}));  // new elements are zero
    EXPECT_EQ(array[0], (_VPoint{1, 1}));
    array.Add({2, 2});
    EXPECT_EQ(array.GetCapacity(), 45);  // past 32, by an eighth of the size
    EXPECT_TRUE(array.SetSize(50, 100));
    EXPECT_EQ(array.GetCapacity(), 145);
    EXPECT_TRUE(array.SetSize(146, -1));  // -1 keeps the step of 100
    EXPECT_EQ(array.GetCapacity(), 245);
    EXPECT_FALSE(array.SetSize(-1));
    EXPECT_EQ(array.GetSize(), 146);
    array.RemoveAll();
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_EQ(array.GetCapacity(), 0);
    EXPECT_EQ(array.GetData(), nullptr);
    EXPECT_EQ(CVMem::Allocate(0, __FILE__, __LINE__), nullptr);
    CVMem::Deallocate(nullptr);
}

TEST(EngineString, CodePagesAndHelpers) {
    // Mode 0 keeps ASCII only (this build carries no double-byte tables).
    EXPECT_EQ(CVString("a\xd6\xd0z").view(), u"az");
    EXPECT_EQ(CVCodePage::WideCharToMultiByte(0, u"x\u00e9y"), "xy");
    // Mode 1 writes each UTF-16 unit on its own: a surrogate pair takes six bytes.
    const std::u16string text = u"A\u4e2d\U0001F600";
    const std::string utf8 = CVCodePage::WideCharToMultiByte(1, text);
    EXPECT_EQ(utf8.size(), 1u + 3u + 6u);
    EXPECT_EQ(CVCodePage::MultiByteToWideChar(1, utf8), text);

    CVString s("ab");
    s += "cd";
    s += u'e';
    s += CVString("f");
    EXPECT_EQ((s + CVString("g")).view(), u"abcdefg");
    EXPECT_EQ(s.GetLength(), 6);
    EXPECT_TRUE(CVString().IsEmpty());
    EXPECT_EQ(CVString::Length(CVString().GetBuffer()), 0u);
    char16_t buffer[5];
    EXPECT_TRUE(CVString::Copy(buffer, 5, u"abc"));
    EXPECT_FALSE(CVString::Concatenate(buffer, 5, u"de"));
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    EXPECT_EQ(CVString::Length(nullptr), 0u);
}

TEST(EngineBackupExclusion, MarksExistingFilesOnly) {
    testsupport::TempHome home;
    const auto file = home.path() / "tiles.db";
    std::ofstream(file) << "x";
    EXPECT_FALSE(LMAppTools::addSkipBackupAttributeToItemAtURL({}));
    EXPECT_FALSE(LMAppTools::addSkipBackupAttributeToItemAtURL(home.path() / "missing"));
    ASSERT_TRUE(LMAppTools::addSkipBackupAttributeToItemAtURL(file));
    EXPECT_TRUE(platform::isExcludedFromBackup(file));

    // Older systems take the one-byte attribute, and only on a file that is there.
    platform::Application::shared().setSystemVersion("5.0");
    const auto old = home.path() / "old.db";
    EXPECT_FALSE(LMAppTools::addSkipBackupAttributeToItemAtURL(old));
    std::ofstream(old) << "x";
    EXPECT_TRUE(LMAppTools::addSkipBackupAttributeToItemAtURL(old));
    EXPECT_FALSE(platform::isExcludedFromBackup(old));
    platform::Application::shared().setSystemVersion("9.3");
}

}  // namespace
