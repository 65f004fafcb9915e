#include "records/SearchWords.h"

#include <QRegularExpression>

namespace tempolatch {

namespace {

// More words than this in one search are taken as the first so many: each
// word is a bit of the found mask.
constexpr int MaxWords = 64;

QStringList wordsOf(const QString& text) {
    static const QRegularExpression word(QStringLiteral(R"("([^"]*)\"?|(\S+))"));
    QStringList words;
    for (auto it = word.globalMatch(text); it.hasNext() && words.size() < MaxWords;) {
        const QRegularExpressionMatch m = it.next();
        const QString found = m.hasCaptured(1) ? m.captured(1).trimmed() : m.captured(2);
        if (!found.isEmpty() && !words.contains(found, Qt::CaseInsensitive))
            words.append(found);
    }
    return words;
}

}  // namespace

SearchWords::SearchWords(const QString& text, NoteReader noteReader)
    : m_text(text.trimmed()), m_words(wordsOf(text)), m_noteReader(noteReader) {}

bool SearchWords::matches(std::initializer_list<const QString*> texts,
                          const QByteArray& note) const {
    if (m_words.isEmpty())
        return true;
    const quint64 all =
        m_words.size() == MaxWords ? ~quint64(0) : (quint64(1) << m_words.size()) - 1;
    quint64 found = 0;
    const auto look = [&](const QString& text) {
        if (text.isEmpty())
            return false;
        for (int i = 0; i < m_words.size(); ++i)
            if (!(found & (quint64(1) << i)) && text.contains(m_words[i], Qt::CaseInsensitive))
                found |= quint64(1) << i;
        return found == all;
    };
    for (const QString* text : texts)
        if (look(*text))
            return true;
    // The note last: reading it costs more than all the other texts together.
    return m_noteReader && !note.isEmpty() && look(m_noteReader(note));
}

}  // namespace tempolatch
