#include "ui/main/keypad_names.h"

#include <QSettings>

namespace qp40 {
namespace {

QString SettingsKey(const QString& identity) { return QStringLiteral("keypadNames/") + identity; }

}  // namespace

QString SettingsKeypadNames::Name(const QString& identity) const {
  return QSettings().value(SettingsKey(identity)).toString();
}

void SettingsKeypadNames::SetName(const QString& identity, const QString& name) {
  QSettings settings;
  if (name.isEmpty()) {
    settings.remove(SettingsKey(identity));
  } else {
    settings.setValue(SettingsKey(identity), name);
  }
}

QString MemoryKeypadNames::Name(const QString& identity) const {
  const auto found = names_.find(identity);
  return found != names_.end() ? found->second : QString();
}

void MemoryKeypadNames::SetName(const QString& identity, const QString& name) {
  if (name.isEmpty()) {
    names_.erase(identity);
  } else {
    names_[identity] = name;
  }
}

}  // namespace qp40
