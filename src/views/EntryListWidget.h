#pragma once

#include <QFont>
#include <memory>

#include "views/EntryList.h"
#include "views/EntryListEvents.h"

class QWidget;

namespace tempolatch {

class Settings;

struct ColumnLayout;

// An entry list as a window sees it: the list interface, its widget, its
// font and its events.
class EntryListWidget : public EntryList {
public:
    // What a tap asks of the Simple list's window, and a double tap of the tree's.
    static constexpr int EditCommand = 40063;

    virtual QWidget* widget() = 0;
    virtual void setListFont(const QFont& font) = 0;
    EntryListEvents& events() { return m_events; }

    // The list of a style (Default, Simple, Tree); the Simple list shows
    // `columns`. The widget belongs to `parent`.
    static EntryListWidget* create(int style, const ColumnLayout& columns, const Settings& settings,
                                   QWidget* parent);

private:
    EntryListEvents m_events;
};

}  // namespace tempolatch
