#include "store/ListsDatabase.h"

namespace tempolatch {

using platform::Property;
using platform::PropertyList;

namespace {
QString textOf(const PropertyList& props) {
    const Property* p = platform::findProperty(props, prop::ListText);
    return p ? p->text.left(MaxNameLength) : QString();
}
}  // namespace

QList<ListItem> ListsByKind::listAll(ListKind kind) {
    QList<ListItem> items;
    PropertyList props;
    for (quint32 id = seekFirst(Property::ui2(prop::ListKind, quint16(kind))); id != 0;
         id = seekNext()) {
        if (readProperty(props, {prop::ListText}) != ReadResult::Read)
            break;
        items.append({textOf(props), id});
    }
    return items;
}

QStringList ListsByKind::texts(ListKind kind) {
    QStringList out;
    for (const ListItem& item : listAll(kind))
        out.append(item.text);
    return out;
}

quint32 ListsByKind::findReport(const QString& name) {
    PropertyList props;
    for (quint32 id = seekFirst(Property::ui2(prop::ListKind, quint16(ListKind::SavedReport)));
         id != 0; id = seekNext()) {
        if (readProperty(props, {prop::ListText}) == ReadResult::Read && textOf(props) == name)
            return id;
    }
    return 0;
}

bool ListsByText::findText(const QString& text, ListKind kind) {
    PropertyList props;
    for (quint32 id = seekFirst(Property::string(prop::ListText, text)); id != 0; id = seekNext()) {
        if (readProperty(props, {prop::ListKind}) != ReadResult::Read)
            return false;
        if (!props.isEmpty() && props.first().toUi2() == quint16(kind))
            return true;
    }
    return false;
}

bool ListsByText::addText(const QString& text, ListKind kind) {
    if (text.isEmpty() || findText(text, kind))
        return false;
    return addProperties({Property::ui2(prop::ListKind, quint16(kind)),
                          Property::string(prop::ListText, text)}) != 0;
}

bool ListsByText::renameText(const QString& text) {
    return updateProperties({Property::string(prop::ListText, text)});
}

}  // namespace tempolatch
