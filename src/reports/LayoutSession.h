#pragma once

#include <QString>
#include <functional>

#include "reports/ReportLayout.h"
#include "reports/SavedReports.h"

namespace tempolatch {

class Settings;

// What the report layout dialog works on: the layout being edited, the
// saved report it came from (name and record id, empty and 0 for a
// built-in one), and the kind's default report name in the settings.
class LayoutSession {
public:
    // Starts from the kind's default report, or its built-in layout.
    LayoutSession(int kind, Settings& settings, SavedReports& reports);

    int kind() const { return m_kind; }
    ReportLayout& layout() { return m_layout; }
    const ReportLayout& layout() const { return m_layout; }
    const QString& currentName() const { return m_name; }
    quint32 recordId() const { return m_recordId; }

    // The built-in layout of the kind; no saved report is current.
    void loadDefault();
    // A saved report becomes current. False when it cannot be read.
    bool loadSaved(quint32 recordId);

    enum class SaveResult { Saved, NameTaken, Failed };
    // Saves the layout under the name. When another saved report has that
    // name, `overwrite` is asked: No gives NameTaken (and nothing is
    // written), Yes writes over that report.
    SaveResult save(const QString& name, const std::function<bool()>& overwrite);

    // The current report becomes the kind's default, or stops being it.
    void toggleDefault();
    bool isDefault() const;
    bool canSetDefault() const { return !m_name.isEmpty(); }

    // The current saved report's name as it is stored now (after Organize
    // Reports renamed it).
    void reloadName();

private:
    int m_kind;
    Settings& m_settings;
    SavedReports& m_reports;
    ReportLayout m_layout;
    QString m_name;
    quint32 m_recordId = 0;
};

// A saved report renamed from `from` to `to` stays the default of every
// kind it was the default of.
void renameDefaultReport(Settings& settings, const QString& from, const QString& to);

}  // namespace tempolatch
