#pragma once
// The registry helpers on QSettings. A key path "Software\<organisation>\<application>[\group...]"
// addresses QSettings(organisation, application) and the groups below it, so on Windows the
// native format is the registry key itself; an empty value name means the key's unnamed value,
// which QSettings calls "Default". Writes are silent on failure; reads fall back to the default.
#include <cstdint>

#include <QString>
#include <QVariant>

namespace pictarix {

// The program only uses the current user's settings.
enum class SettingsRoot { CurrentUser };

inline const QString kSettingsKey = QStringLiteral("Software\\Wexlund\\Pictarix");
inline const QString kStayOnTopValue = QStringLiteral("T");
inline const QString kIncludeCursorsValue = QStringLiteral("IncludeCursors");
// Export Images names its files after the entries' captions.
inline const QString kExportCaptionNamesValue = QStringLiteral("ExportCaptionNames");

bool SettingsGroupExists(SettingsRoot root, const QString& keyPath);
void CreateSettingsGroup(SettingsRoot root, const QString& keyPath);
// Stores `data` as the value; the QVariant's type stands for the registry type.
void WriteSettingValue(SettingsRoot root, const QString& keyPath, const QString& name,
                   const QVariant& data);
void WriteSettingString(SettingsRoot root, const QString& keyPath, const QString& name,
                    const QString& text);
// Written as the integer 1 or 0, so that ReadSettingInt reads it back.
void WriteSettingBool(SettingsRoot root, const QString& keyPath, const QString& name, bool flag);
std::int32_t ReadSettingInt(SettingsRoot root, const QString& keyPath, const QString& name,
                        std::int32_t defaultValue);
bool ReadSettingBool(SettingsRoot root, const QString& keyPath, const QString& name, bool defaultValue);
// A stored value as it is kept; invalid when there is none.
QVariant ReadSettingValue(SettingsRoot root, const QString& keyPath, const QString& name);
// A stored text value; `defaultValue` when there is none.
QString ReadSettingString(SettingsRoot root, const QString& keyPath, const QString& name,
                      const QString& defaultValue);

// The integer a stored value stands for (the low 32 bits), or nothing when its type or size is
// not one an integer is read from: text holding an integer; any integer; bytes, at most 8 of
// them, read little-endian.
bool StoredValueToInt(const QVariant& value, std::int32_t& result);

}  // namespace pictarix
