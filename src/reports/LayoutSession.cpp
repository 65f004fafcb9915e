#include "reports/LayoutSession.h"

#include "settings/Settings.h"

namespace tempolatch {

LayoutSession::LayoutSession(int kind, Settings& settings, SavedReports& reports)
    : m_kind(kind), m_settings(settings), m_reports(reports) {
    m_layout = startingLayout(kind, settings, reports, &m_name, &m_recordId);
}

void LayoutSession::loadDefault() {
    m_layout = ReportLayout::builtInDefault(m_kind);
    m_name.clear();
    m_recordId = 0;
}

bool LayoutSession::loadSaved(quint32 recordId) {
    const auto report = m_reports.read(recordId);
    if (!report)
        return false;
    m_layout = report->layout;
    m_name = report->name;
    m_recordId = recordId;
    return true;
}

LayoutSession::SaveResult LayoutSession::save(const QString& name,
                                              const std::function<bool()>& overwrite) {
    if (name.isEmpty())
        return SaveResult::Failed;
    quint32 target = name == m_name ? m_recordId : 0;
    const quint32 existing = m_reports.find(name);
    if (existing != 0 && existing != target) {
        if (!overwrite())
            return SaveResult::NameTaken;
        target = existing;
    }
    const quint32 written = m_reports.write(name, m_layout, target);
    if (written == 0)
        return SaveResult::Failed;
    m_name = name;
    m_recordId = written;
    return SaveResult::Saved;
}

bool LayoutSession::isDefault() const {
    return !m_name.isEmpty() && m_kind >= 0 && m_kind < int(m_settings.defaultReports.size()) &&
           m_settings.defaultReports[size_t(m_kind)] == m_name;
}

void LayoutSession::toggleDefault() {
    if (m_kind < 0 || m_kind >= int(m_settings.defaultReports.size()) || m_name.isEmpty())
        return;
    QString& value = m_settings.defaultReports[size_t(m_kind)];
    value = value == m_name ? QString() : m_name;
}

void LayoutSession::reloadName() {
    if (m_recordId == 0)
        return;
    if (const auto report = m_reports.read(m_recordId))
        m_name = report->name;
}

void renameDefaultReport(Settings& settings, const QString& from, const QString& to) {
    for (QString& name : settings.defaultReports)
        if (!from.isEmpty() && name == from)
            name = to;
}

}  // namespace tempolatch
