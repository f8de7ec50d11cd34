#include "ui/window/Settings.h"

#include <optional>

#include <QSettings>
#include <QStringList>

#include "ui/window/SettingsFile.h"

namespace pictarix {

namespace {

// Where a key path leads: the store and the group inside it.
struct SettingsLocation {
  QString Organisation;
  QString Application;
  QString Group;
};

std::optional<SettingsLocation> Locate(SettingsRoot, QString keyPath) {
  if (keyPath.startsWith(QLatin1Char('\\'))) keyPath.remove(0, 1);
  const QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  if (parts.size() < 3 || parts[0].compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0) {
    return std::nullopt;
  }
  return SettingsLocation{parts[1], parts[2], parts.mid(3).join(QLatin1Char('/'))};
}

// The unnamed value of a key is "Default" in QSettings (the registry's own on Windows).
QString ValueKey(const QString& name) {
  return name.isEmpty() ? QStringLiteral("Default") : name;
}

class OpenKey {
 public:
  explicit OpenKey(const SettingsLocation& where, SettingsFile::Use use = SettingsFile::Use::Read)
      : file_(where.Organisation, where.Application, use) {
    if (!where.Group.isEmpty()) file_.Settings().beginGroup(where.Group);
  }
  QSettings& operator*() { return file_.Settings(); }
  QSettings* operator->() { return &file_.Settings(); }
  void Save() { file_.Save(); }

 private:
  SettingsFile file_;
};

// Text as the platform's integer conversion takes it: optional sign, decimal digits, or
// hexadecimal digits after "$" or "0x".
std::optional<std::int64_t> TextToInt64(const QString& text) {
  QString digits = text;
  bool negative = false;
  if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
    negative = digits.startsWith(QLatin1Char('-'));
    digits.remove(0, 1);
  }
  int base = 10;
  if (digits.startsWith(QLatin1Char('$'))) {
    base = 16;
    digits.remove(0, 1);
  } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    base = 16;
    digits.remove(0, 2);
  }
  if (digits.isEmpty() || digits[0] == QLatin1Char('-') || digits[0] == QLatin1Char('+')) {
    return std::nullopt;
  }
  bool ok = false;
  const qulonglong magnitude = digits.toULongLong(&ok, base);
  const qulonglong limit = negative ? (1ULL << 63) : (1ULL << 63) - 1;
  if (!ok || magnitude > limit) return std::nullopt;
  // Two's complement negation in unsigned arithmetic also covers the lowest 64-bit value.
  return static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
}

}  // namespace

bool StoredValueToInt(const QVariant& value, std::int32_t& result) {
  std::uint64_t bits = 0;
  switch (value.metaType().id()) {
    case QMetaType::QString: {
      const std::optional<std::int64_t> number = TextToInt64(value.toString());
      if (!number) return false;
      bits = static_cast<std::uint64_t>(*number);
      break;
    }
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::LongLong:
      bits = static_cast<std::uint64_t>(value.toLongLong());
      break;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::ULongLong:
      bits = value.toULongLong();
      break;
    case QMetaType::QByteArray: {
      const QByteArray bytes = value.toByteArray();
      if (bytes.size() > 8) return false;
      for (qsizetype i = 0; i < bytes.size(); ++i) {
        bits |= std::uint64_t{static_cast<std::uint8_t>(bytes[i])} << (8 * i);
      }
      break;
    }
    default:
      return false;
  }
  result = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
  return true;
}

bool SettingsGroupExists(SettingsRoot root, const QString& keyPath) {
  const std::optional<SettingsLocation> where = Locate(root, keyPath);
  if (!where) return false;
  OpenKey key(*where);
  return key->status() == QSettings::NoError &&
         (!key->childKeys().isEmpty() || !key->childGroups().isEmpty());
}

void CreateSettingsGroup(SettingsRoot root, const QString& keyPath) {
  const std::optional<SettingsLocation> where = Locate(root, keyPath);
  if (!where) return;
  OpenKey key(*where, SettingsFile::Use::Change);
  key->setValue(ValueKey(QString()), QString());
  key.Save();
}

void WriteSettingValue(SettingsRoot root, const QString& keyPath, const QString& name,
                   const QVariant& data) {
  const std::optional<SettingsLocation> where = Locate(root, keyPath);
  if (!where) return;
  OpenKey key(*where, SettingsFile::Use::Change);
  // A new key gets an empty unnamed value, as creating a registry key does.
  if (key->childKeys().isEmpty() && key->childGroups().isEmpty()) {
    key->setValue(ValueKey(QString()), QString());
  }
  key->setValue(ValueKey(name), data);
  key.Save();  // a failure stays silent
}

void WriteSettingString(SettingsRoot root, const QString& keyPath, const QString& name,
                    const QString& text) {
  WriteSettingValue(root, keyPath, name, text);
}

void WriteSettingBool(SettingsRoot root, const QString& keyPath, const QString& name, bool flag) {
  WriteSettingValue(root, keyPath, name, flag ? 1 : 0);
}

std::int32_t ReadSettingInt(SettingsRoot root, const QString& keyPath, const QString& name,
                        std::int32_t defaultValue) {
  const std::optional<SettingsLocation> where = Locate(root, keyPath);
  if (!where) return defaultValue;
  OpenKey key(*where);
  if (key->status() != QSettings::NoError || !key->contains(ValueKey(name))) return defaultValue;
  std::int32_t result = defaultValue;
  return StoredValueToInt(key->value(ValueKey(name)), result) ? result : defaultValue;
}

bool ReadSettingBool(SettingsRoot root, const QString& keyPath, const QString& name,
                 bool defaultValue) {
  return ReadSettingInt(root, keyPath, name, defaultValue ? 1 : 0) != 0;
}

QVariant ReadSettingValue(SettingsRoot root, const QString& keyPath, const QString& name) {
  const std::optional<SettingsLocation> where = Locate(root, keyPath);
  if (!where) return {};
  OpenKey key(*where);
  return key->status() == QSettings::NoError ? key->value(ValueKey(name)) : QVariant();
}

QString ReadSettingString(SettingsRoot root, const QString& keyPath, const QString& name,
                      const QString& defaultValue) {
  const QVariant value = ReadSettingValue(root, keyPath, name);
  return value.metaType().id() == QMetaType::QString ? value.toString() : defaultValue;
}

}  // namespace pictarix
