#include "settings/system_formats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zv {
namespace {

struct Formats final : SystemFormats {
  Formats(std::string d, std::string t, std::string dec)
      : date(std::move(d)), time(std::move(t)), decimal(std::move(dec)) {}
  std::string DateSeparator() const override { return date; }
  std::string TimeSeparator() const override { return time; }
  std::string DecimalSeparator() const override { return decimal; }
  std::string date, time, decimal;
};

TEST(DateTime, CivilConversionTable) {
  const struct {
    double days;
    CivilTime civil;
  } cases[] = {
      {0.0, {1899, 12, 30, 0, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0}},  // the time is the fraction's magnitude
      {36526.5, {2000, 1, 1, 12, 0, 0}},
      {36585.0, {2000, 2, 29, 0, 0, 0}},
      {2958465.0, {9999, 12, 31, 0, 0, 0}},
      {-693593.0, {1, 1, 1, 0, 0, 0}},
      {1.0 - 1e-9, {1899, 12, 31, 0, 0, 0}},  // rounds into the next day
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.days);
    EXPECT_EQ(ToCivil(DateTime{c.days}), c.civil);
    if (c.days == std::round(c.days * 86400) / 86400) {
      EXPECT_EQ(FromCivil(c.civil), DateTime{c.days});
    }
  }
  EXPECT_EQ(ToCivil(DateTime{-693594.5}), std::nullopt);
  EXPECT_EQ(ToCivil(DateTime{2958466.5}), std::nullopt);
  EXPECT_EQ(ToCivil(DateTime{NAN}), std::nullopt);
  EXPECT_EQ(FromCivil({2001, 2, 29, 0, 0, 0}), std::nullopt);
  EXPECT_EQ(FromCivil({2000, 1, 1, 24, 0, 0}), std::nullopt);
}

TEST(DateTime, FormatAndParseWithSeparators) {
  const Formats japanese("/", ":", ".");
  const Formats german(".", ":", ",");
  EXPECT_EQ(FormatDateTime(DateTime{36526.5}, japanese), "2000/01/01 12:00:00");
  EXPECT_EQ(FormatDateTime(DateTime{-693593.0}, german), "0001.01.01 00:00:00");
  EXPECT_EQ(FormatDateTime(DateTime{1e7}, japanese), std::nullopt);

  const struct {
    const char* text;
    std::optional<double> days;
  } cases[] = {
      {"2000/01/01 12:00:00", 36526.5},
      {"2000/1/1 12:00", 36526.5},
      {"2000/1/1", 36526.0},
      {"2000/1/1   6:00:00", 36526.25},
      {"12:00:00", 0.5},
      {"6:00", 0.25},
      {"2000/02/30", std::nullopt},
      {"2000/13/01", std::nullopt},
      {"2000/01/01 24:00:00", std::nullopt},
      {"2000/01/01 12:60", std::nullopt},
      {"2000/01/01T12:00", std::nullopt},
      {"2000/01/01 ", std::nullopt},
      {"12000/01/01", std::nullopt},
      {"2000/001/01", std::nullopt},
      {"2000-01-01", std::nullopt},
      {"", std::nullopt},
      {"0/01/01", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = ParseDateTimeWith(c.text, "/", ":");
    ASSERT_EQ(parsed.has_value(), c.days.has_value());
    if (parsed) {
      EXPECT_DOUBLE_EQ(parsed->days, *c.days);
    }
  }
  EXPECT_EQ(ParseDateTimeWith("2000.01.01 12-00-00", ".", "-"), DateTime{36526.5});
  EXPECT_EQ(ParseDateTimeWith("2000/01/01", "", ""), DateTime{36526.0});
}

TEST(Float, FormatTable) {
  const Formats comma("/", ":", ",");
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {-2.5, "-2.5"},
      {1e15, "1e+15"},
      {123456789012345.0, "123456789012345"},
      {1e-5, "1e-05"},
      {0.0, "0"},
      {1.0 / 3, "0.333333333333333"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatFloat(c.value, DefaultFormats()), c.text);
  }
  EXPECT_EQ(FormatFloat(0.5, comma), "0,5");
  EXPECT_EQ(FormatFloat(INFINITY, DefaultFormats()), std::nullopt);
  EXPECT_EQ(FormatFloat(NAN, DefaultFormats()), std::nullopt);
}

TEST(Float, ParseTable) {
  const Formats comma("/", ":", ",");
  const struct {
    const char* text;
    std::optional<double> dot, commaValue;
  } cases[] = {
      {"1.5", 1.5, std::nullopt},
      {"1,5", std::nullopt, 1.5},
      {"-1.5", -1.5, std::nullopt},
      {"+2", 2.0, 2.0},
      {".5", 0.5, std::nullopt},
      {"5.", 5.0, std::nullopt},
      {"1e3", 1000.0, 1000.0},
      {"1E-3", 0.001, 0.001},
      {"1e+15", 1e15, 1e15},
      {"", std::nullopt, std::nullopt},
      {"-", std::nullopt, std::nullopt},
      {".", std::nullopt, std::nullopt},
      {"1e", std::nullopt, std::nullopt},
      {"inf", std::nullopt, std::nullopt},
      {"nan", std::nullopt, std::nullopt},
      {"1e999", std::nullopt, std::nullopt},
      {"1.2.3", std::nullopt, std::nullopt},
      {" 1", std::nullopt, std::nullopt},
      {"1 ", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseFloat(c.text, DefaultFormats()), c.dot);
    EXPECT_EQ(ParseFloat(c.text, comma), c.commaValue);
  }
}

TEST(Currency, ParseTable) {
  const struct {
    const char* text;
    std::optional<int64_t> tenThousandths;
  } cases[] = {
      {"12", 120000},
      {"1.5", 15000},
      {"-0.0001", -1},
      {"1.23456", 12346},
      {"-1.23455", -12346},  // half away from zero
      {"1.23454", 12345},
      {"922337203685477.5807", INT64_MAX},
      {"-922337203685477.5808", INT64_MIN},
      {"922337203685477.5808", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"1e3", std::nullopt},
      {"abc", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = ParseCurrency(c.text, DefaultFormats());
    ASSERT_EQ(parsed.has_value(), c.tenThousandths.has_value());
    if (parsed) {
      EXPECT_EQ(parsed->tenThousandths, *c.tenThousandths);
    }
  }
}

}  // namespace
}  // namespace zv
