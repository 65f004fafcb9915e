#pragma once

#include <QByteArray>
#include <QList>
#include <QSaveFile>
#include <QSet>
#include <QString>
#include <vector>

#include "platform/CompoundFile.h"

namespace tempolatch::platform {

// Writes a compound file (version 3, 512-byte sectors) front to back into a
// QSaveFile: stream bytes go to the file as each stream ends, and only the
// directory, the allocation tables and the header wait for commit(). Small
// streams share the mini stream, packed in 64-byte blocks. Memory grows with
// the number of elements, not with the bytes written, and every step costs
// time linear in its bytes, except that each storage's names are sorted once.
class CompoundWriter {
public:
    static constexpr quint32 Root = 0;
    static constexpr quint32 NoEntry = 0xFFFFFFFFu;

    explicit CompoundWriter(const QString& path);

    bool open(QString* error);

    // A new element of the storage `parent`; NoEntry (and why) when the name
    // is invalid or already taken there regardless of case.
    quint32 add(quint32 parent, const QString& name, bool storage, QString* error);
    // The elements of a storage in directory order.
    QList<CompoundEntry> children(quint32 storage) const;

    // Writes the whole sectors at the front of `pending`, the next bytes of a
    // stream already past the mini stream's limit, and leaves the rest in it.
    bool spill(quint32 stream, QByteArray& pending);
    // Writes the rest of a stream and ends it.
    bool finish(quint32 stream, const QByteArray& pending);

    // Writes the directory, the tables and the header and puts the file in
    // place; nothing is written past a failure.
    bool commit();
    QString errorString() const { return m_error; }

private:
    struct Node {
        QString name;
        QString key;  // compoundNameKey(name)
        std::vector<quint32> children;
        QSet<QString> keys;
        quint64 size = 0;
        quint32 start;
        quint32 last;
        bool storage = false;
        bool finished = false;
    };

    bool fail(const QString& why);
    bool appendSectors(const char* data, quint64 count, quint32& start, quint32& last);
    bool appendPadded(QByteArray bytes, quint32& start, quint32& last);
    bool appendToMiniStream(const QByteArray& bytes);
    QByteArray directory() const;
    QByteArray header(quint32 fatSectors, quint32 directoryStart, quint32 miniFatStart,
                      quint32 miniFatSectors, quint32 difatStart, quint32 difatSectors) const;
    std::vector<quint32> sortedChildren(quint32 storage) const;

    QSaveFile m_file;
    std::vector<Node> m_nodes;
    std::vector<quint32> m_fat;
    std::vector<quint32> m_miniFat;
    QByteArray m_miniTail;  // the mini stream's bytes not yet in a whole sector
    quint32 m_miniStart;
    quint32 m_miniLast;
    bool m_failed = false;
    QString m_error;
};

}  // namespace tempolatch::platform
