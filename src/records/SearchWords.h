#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace tempolatch {

// The words of a search box: a record is found when every word stands, in
// any case, somewhere in its texts (client, project, note and so on). A
// "quoted phrase" is one word. Notes of time entries are kept as bytes;
// the reader that makes text of them is handed in by whoever owns it, and
// a note is read only when the other texts leave a word unfound.
class SearchWords {
public:
    using NoteReader = QString (*)(const QByteArray& note);

    SearchWords() = default;
    explicit SearchWords(const QString& text, NoteReader noteReader = nullptr);

    bool isEmpty() const { return m_words.isEmpty(); }
    // As typed, for the command line and the box.
    const QString& text() const { return m_text; }
    const QStringList& words() const { return m_words; }

    // Whether every word is in one of `texts` or in the note (bytes that
    // the reader turns into text). Nothing searched for: always.
    bool matches(std::initializer_list<const QString*> texts, const QByteArray& note = {}) const;

    bool operator==(const SearchWords&) const = default;

private:
    QString m_text;
    QStringList m_words;
    NoteReader m_noteReader = nullptr;
};

}  // namespace tempolatch
