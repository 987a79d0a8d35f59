#include "settings/variant.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

TEST(Variant, KindsAndAccess) {
  EXPECT_EQ(Variant().kind(), VariantKind::kEmpty);
  EXPECT_EQ(Variant::Null().kind(), VariantKind::kNull);
  EXPECT_TRUE(Variant::Null().IsEmptyOrNull());
  EXPECT_EQ(Variant::Int16(-3).AsInt32(), -3);
  EXPECT_EQ(Variant::Int32(7).AsInt32(), 7);
  EXPECT_EQ(Variant::Float32(0.5f).AsFloat64(), 0.5);
  EXPECT_EQ(Variant::Boolean(true).AsBoolean(), true);
  EXPECT_EQ(Variant::Byte(200).AsByte(), 200);
  EXPECT_EQ(Variant::Money({12345}).AsCurrency()->tenThousandths, 12345);
  EXPECT_EQ(*Variant::Text("abc").AsText(), "abc");
  EXPECT_FALSE(Variant::Text("1").AsInt32());
  EXPECT_EQ(Variant::Text("x").AsBoolean(), std::nullopt);
  EXPECT_NE(Variant::Int16(1), Variant::Int32(1));
}

TEST(Variant, Conversions) {
  EXPECT_EQ(Variant::Text("-12").ToInt32(5), -12);
  EXPECT_EQ(Variant::Text("12x").ToInt32(5), 5);
  EXPECT_EQ(Variant::Text("").ToInt32(5), 5);
  EXPECT_EQ(Variant::Text("99999999999").ToInt32(5), 5);
  EXPECT_EQ(Variant::Float64(2.6).ToInt32(0), 3);
  EXPECT_EQ(Variant::Float64(1e30).ToInt32(4), 4);
  EXPECT_EQ(Variant().ToInt32(9), 9);
  EXPECT_TRUE(Variant::Int32(2).ToBoolean(false));
  EXPECT_FALSE(Variant::Text("False").ToBoolean(true));
  EXPECT_TRUE(Variant::Text("maybe").ToBoolean(true));
  EXPECT_EQ(Variant::Boolean(false).ToText(), "False");
  EXPECT_EQ(Variant::Int32(-4).ToText(), "-4");
}

TEST(ParseInt32, Table) {
  EXPECT_EQ(ParseInt32("0"), 0);
  EXPECT_EQ(ParseInt32("+12"), 12);
  EXPECT_EQ(ParseInt32("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInt32(" 1"), std::nullopt);
  EXPECT_EQ(ParseInt32("1 "), std::nullopt);
  EXPECT_EQ(ParseInt32("-"), std::nullopt);
  EXPECT_EQ(ParseInt32("+-1"), std::nullopt);
}

}  // namespace
}  // namespace zv
