#include "store/StoreDump.h"

#include "platform/DatabaseHandle.h"
#include "platform/ObjectStore.h"

namespace tempolatch {

namespace {
QString hex8(quint32 value) {
    return QStringLiteral("0x") +
           QString::number(value, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}
}  // namespace

void dumpStore(platform::ObjectStore& store, QTextStream& out) {
    for (const platform::DatabaseInfo& info : store.databases()) {
        QStringList sorts;
        for (quint32 s : info.sortOrders)
            sorts.append(hex8(s));
        out << "database \"" << info.name << "\" type " << hex8(info.type) << " sort "
            << sorts.join(QLatin1Char(',')) << " records " << info.recordCount << '\n';
        auto handle = store.openDatabase(info.id, info.sortOrders.first());
        if (!handle)
            continue;
        platform::PropertyList props;
        for (quint32 id = handle->seekBeginning(); id != 0; id = handle->seekCurrent(1)) {
            out << "  record " << hex8(id) << '\n';
            if (handle->readCurrent(props) != platform::DatabaseHandle::Read) {
                out << "    (unreadable)\n";
                continue;
            }
            for (const platform::Property& p : props)
                out << "    " << hex8(p.id) << ' ' << platform::propTypeName(p.type()) << ' '
                    << platform::describeValue(p) << '\n';
        }
    }
}

}  // namespace tempolatch
