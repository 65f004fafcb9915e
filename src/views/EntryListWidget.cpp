#include "views/EntryListWidget.h"

#include "settings/Context.h"
#include "settings/Settings.h"
#include "views/DefaultEntryList.h"
#include "views/EntryRowModel.h"
#include "views/SimpleEntryList.h"
#include "views/TreeEntryList.h"
#include "views/ViewIds.h"

namespace tempolatch {

EntryListWidget* EntryListWidget::create(int style, const ColumnLayout& columns, Context& context,
                                         QWidget* parent) {
    const Settings& settings = context.settings;
    switch (style) {
        case Simple: {
            auto* list = new SimpleEntryList(columns, context.registry, parent);
            // The custom fields' columns carry the names the user gave them.
            const QString* labels[] = {&settings.custom1, &settings.custom2, &settings.custom3};
            for (int i = 0; i < 3; ++i)
                list->rowModel().setTitle(str::ColumnTitles + 11 + i, *labels[i]);
            return list;
        }
        case Tree:
            return new TreeEntryList(parent);
        default:
            return new DefaultEntryList(settings, parent);
    }
}

}  // namespace tempolatch
