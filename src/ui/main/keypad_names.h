#pragma once

#include <QString>
#include <map>

namespace qp40 {

// The short names the user gives keypads, by identity (32 hex digits).
class KeypadNames {
 public:
  virtual ~KeypadNames() = default;
  // The name, or an empty text when the keypad has none.
  virtual QString Name(const QString& identity) const = 0;
  // An empty name forgets the keypad's name.
  virtual void SetName(const QString& identity, const QString& name) = 0;
};

// Names kept in the settings, so that every run shows them.
class SettingsKeypadNames final : public KeypadNames {
 public:
  QString Name(const QString& identity) const override;
  void SetName(const QString& identity, const QString& name) override;
};

// Names kept for one run only.
class MemoryKeypadNames final : public KeypadNames {
 public:
  QString Name(const QString& identity) const override;
  void SetName(const QString& identity, const QString& name) override;

 private:
  std::map<QString, QString> names_;
};

}  // namespace qp40
