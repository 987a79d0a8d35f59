#include "settings/registry.h"

#include <array>
#include <cstring>

#include "text/lines.h"
#include "text/sjis.h"

namespace zv {

namespace {

constexpr std::array<std::string_view, 6> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE",
    "HKEY_USERS",        "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

template <typename T>
T FromBytes(const std::string& bytes) {
  T v;
  std::memcpy(&v, bytes.data(), sizeof v);
  return v;
}

uint32_t LittleEndian32(std::string_view bytes) {
  uint32_t v = 0;
  for (size_t i = 0; i < bytes.size() && i < 4; ++i) {
    v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  }
  return v;
}

}  // namespace

std::optional<RegKeyPath> SplitRegPath(std::string_view path, std::string_view exeFileName) {
  path = UntilNul(path);
  if (path.empty() || path.front() != '\\') {
    std::string key;
    key.reserve(kMakerKey.size() + exeFileName.size() + 1 + path.size());
    key.append(kMakerKey).append(exeFileName).append("\\").append(path);
    return RegKeyPath{RegRoot::kCurrentUser, std::move(key)};
  }
  const std::string_view rest = path.substr(1);
  std::string_view rootName = rest;
  std::string_view keyPath;
  for (size_t pos = 0; pos < rest.size(); pos += SjisCharLength(rest, pos)) {
    if (rest[pos] == '\\') {
      rootName = rest.substr(0, pos);
      keyPath = rest.substr(pos + 1);
      break;
    }
  }
  const std::string upper = UpperSjis(rootName);
  for (size_t i = 0; i < kRootNames.size(); ++i) {
    if (upper == kRootNames[i]) return RegKeyPath{static_cast<RegRoot>(i), std::string(keyPath)};
  }
  return std::nullopt;
}

Variant ConvertRegData(const RegData& data, const Variant& fallback, const SystemFormats& formats) {
  const bool text = data.kind == RegDataKind::kText;
  const bool binary8 = data.kind == RegDataKind::kBinary && data.bytes.size() == 8;
  switch (fallback.kind()) {
    case VariantKind::kInt16:
    case VariantKind::kInt32:
      if (data.kind == RegDataKind::kInteger) {
        return Variant::Int32(static_cast<int32_t>(LittleEndian32(data.bytes)));
      }
      if (text) {
        if (auto v = ParseInt32(data.bytes)) return Variant::Int32(*v);
      }
      break;
    case VariantKind::kFloat32:
    case VariantKind::kFloat64:
      if (binary8) return Variant::Float64(FromBytes<double>(data.bytes));
      if (text) {
        if (auto v = ParseFloat(data.bytes, formats)) return Variant::Float64(*v);
      }
      break;
    case VariantKind::kCurrency:
      if (binary8) return Variant::Money(Currency{FromBytes<int64_t>(data.bytes)});
      if (text) {
        if (auto v = ParseCurrency(data.bytes, formats)) return Variant::Money(*v);
      }
      break;
    case VariantKind::kDateTime:
      if (binary8) return Variant::Date(DateTime{FromBytes<double>(data.bytes)});
      if (text) {
        if (auto v = formats.ParseDateTime(data.bytes)) return Variant::Date(*v);
      }
      break;
    case VariantKind::kBoolean:
      if (data.kind == RegDataKind::kInteger && data.bytes.size() == 4) {
        return Variant::Boolean(LittleEndian32(data.bytes) != 0);
      }
      if (text) return Variant::Boolean(data.bytes != "0" && UpperSjis(data.bytes) != "FALSE");
      break;
    case VariantKind::kByte:
      if (data.kind == RegDataKind::kBinary && data.bytes.size() == 1) {
        return Variant::Int32(static_cast<unsigned char>(data.bytes[0]));
      }
      break;
    case VariantKind::kText:
      if (text) return Variant::Text(data.bytes);
      break;
    case VariantKind::kEmpty:
    case VariantKind::kNull:
      break;
  }
  return Variant::Null();
}

Variant RegRead(std::string_view path, std::string_view valueName, const Variant& fallback,
                Registry& registry, std::string_view exeFileName, const SystemFormats& formats) {
  const auto split = SplitRegPath(path, exeFileName);
  if (!split) return Variant::Null();
  Variant result = Variant::Null();
  auto key = registry.Open(split->root, split->keyPath, RegAccess::kFull);
  if (!key) key = registry.Open(split->root, split->keyPath, RegAccess::kRead);
  if (key && !fallback.IsEmptyOrNull()) {
    result = ConvertRegData(key->Query(UntilNul(valueName)), fallback, formats);
  }
  if (result.kind() == VariantKind::kNull) result = fallback;
  return result;
}

std::string FileNameOf(std::string_view path) {
  path = UntilNul(path);
  size_t start = 0;
  for (size_t pos = 0; pos < path.size(); pos += SjisCharLength(path, pos)) {
    if (path[pos] == '\\' || path[pos] == '/' || path[pos] == ':') start = pos + 1;
  }
  return std::string(path.substr(start));
}

}  // namespace zv
