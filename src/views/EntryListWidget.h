#pragma once

#include <QFont>
#include <memory>

#include "views/EntryList.h"
#include "views/EntryListEvents.h"

class QWidget;

namespace tempolatch {

struct Context;

struct ColumnLayout;

// An entry list as a window sees it: the list interface, its widget, its
// font and its events. A tap on the Simple list and a double tap on the
// tree ask the window for cmd::EditSelected.
class EntryListWidget : public EntryList {
public:
    virtual QWidget* widget() = 0;
    virtual void setListFont(const QFont& font) = 0;
    EntryListEvents& events() { return m_events; }

    // The list of a style (Default, Simple, Tree); the Simple list shows
    // `columns` and keeps their layout in the context's registry. The widget
    // belongs to `parent`.
    static EntryListWidget* create(int style, const ColumnLayout& columns, Context& context,
                                   QWidget* parent);

private:
    EntryListEvents m_events;
};

}  // namespace tempolatch
