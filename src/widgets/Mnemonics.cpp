#include "widgets/Mnemonics.h"

#include <QAction>
#include <QMenu>

namespace tempolatch::mnemonics {

namespace {

// Where the marker sits in `text` (the index of the marked character), or -1.
qsizetype markerAt(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return i + 1;
        ++i;  // "&&": an ampersand, not a marker
    }
    return -1;
}

bool usable(QChar c, const QString& taken) {
    return c.isLetterOrNumber() && !taken.contains(c.toUpper());
}

}  // namespace

QChar of(const QString& text) {
    const qsizetype at = markerAt(text);
    return at < 0 ? QChar() : text[at].toUpper();
}

QString plain(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;  // the marker goes; of "&&" one ampersand stays
        out.append(text[i]);
    }
    return out;
}

QString literal(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString withMnemonic(const QString& text, QString& taken) {
    if (const QChar marked = of(text); !marked.isNull()) {
        taken.append(marked);
        return text;
    }
    // Positions in the shown text map to positions in `text`: skip the
    // second ampersand of each pair.
    qsizetype best = -1;
    for (const bool wordStartsOnly : {true, false}) {
        bool wordStart = true;
        for (qsizetype i = 0; i < text.size() && best < 0; ++i) {
            const QChar c = text[i];
            if (c == QLatin1Char('&')) {
                ++i;  // "&&"
                wordStart = false;
                continue;
            }
            if ((!wordStartsOnly || wordStart) && usable(c, taken))
                best = i;
            wordStart = !c.isLetterOrNumber();
        }
        if (best >= 0)
            break;
    }
    if (best < 0)
        return text;  // every letter is taken: no mnemonic rather than a shared one
    taken.append(text[best].toUpper());
    return text.left(best) + QLatin1Char('&') + text.mid(best);
}

void assign(QMenu* menu) {
    const QList<QAction*> items = menu->actions();
    QString taken;
    // Marks set by hand come first, whatever their place.
    for (QAction* item : items) {
        if (const QChar marked = of(item->text()); !marked.isNull())
            taken.append(marked);
    }
    for (QAction* item : items) {
        if (item->isSeparator() || item->text().isEmpty())
            continue;
        if (of(item->text()).isNull())
            item->setText(withMnemonic(item->text(), taken));
        if (QMenu* submenu = item->menu())
            assign(submenu);
    }
}

}  // namespace tempolatch::mnemonics
