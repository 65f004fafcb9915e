#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "platform/FileTime.h"

namespace tempolatch {

class EntryList;
class PeriodRecords;
class Settings;

// One period of records shown in a list: a day, a week, a month or the
// user's custom period. The view computes its period, moves it, and loads
// the records dated inside it into the list; its navigation bar (a widget
// of its own) shows the title and calls previous(), next() and today().
class PeriodView : public QObject {
    Q_OBJECT

public:
    enum Type { Day = 1, Week = 2, Month = 3, Custom = 4 };

    // A view of that type; an unknown type gives a Week view. The settings
    // say where weeks start and keep the custom period; they outlive the view.
    static std::unique_ptr<PeriodView> make(int type, Settings& settings);

    ~PeriodView() override;

    // The period a new view of `type` starts on in place of `old` (none:
    // today): the period that holds the old one's start. A view made anew
    // with the same type (another list style, changed options) keeps the
    // day it showed, even when its weeks now start on another day.
    static void carriedPeriod(const PeriodView* old, int type, platform::SystemTime& start,
                              platform::SystemTime& end);

    virtual int type() const = 0;
    // Day, Week and Month step; the custom period does not.
    virtual bool canStep() const { return true; }

    // The list it fills and the records it loads; neither is owned.
    void attach(EntryList* list, PeriodRecords* records);
    EntryList* list() const { return m_list; }
    Settings& settings() const { return *m_settings; }
    PeriodRecords* records() const { return m_records; }

    // Rereads the period into the list; with selectFlag 1 the row of
    // recordId is selected, otherwise the selection is kept.
    void reload(int selectFlag, quint32 recordId);

    void getPeriod(platform::SystemTime& start, platform::SystemTime& end) const;
    // The day the view stands for: today when the period holds it, else
    // the period's middle day.
    platform::SystemTime shownDay() const;
    // Whether the period holds that instant.
    bool contains(platform::FileTime instant) const;
    // Moves to the period that contains `start` (the custom period: from
    // `start` to `end`), then reloads.
    void setPeriod(const platform::SystemTime& start, const platform::SystemTime& end);

    platform::SystemTime start() const { return m_start; }
    // The last instant whose records are loaded.
    platform::SystemTime loadEnd() const { return m_loadEnd; }

    void previous();
    void next();
    void today();

    virtual QString title() const = 0;
    // The ISO week number shown beside the title; 0 when none is shown.
    virtual int weekNumber() const { return 0; }

Q_SIGNALS:
    // The period or its records changed: the bar repaints.
    void reloaded();

protected:
    PeriodView();

    // Sets m_start and m_loadEnd for a period containing start (to end).
    virtual void assign(const platform::SystemTime& start, const platform::SystemTime& end) = 0;
    // The start of the period `direction` (-1, +1) steps away.
    virtual platform::SystemTime stepped(int direction) const {
        return stepped(m_start, direction);
    }
    virtual platform::SystemTime stepped(const platform::SystemTime& from, int direction) const;
    virtual platform::SystemTime periodEnd() const { return m_loadEnd; }

    // Date pictures of the titles, read from the user's locale.
    static QString dayTitleFormat();
    static QString rangeTitleFormat();

    platform::SystemTime m_start;
    platform::SystemTime m_loadEnd;

private:
    void load(bool select, quint32 recordId);

    Settings* m_settings = nullptr;
    EntryList* m_list = nullptr;
    PeriodRecords* m_records = nullptr;
};

}  // namespace tempolatch
