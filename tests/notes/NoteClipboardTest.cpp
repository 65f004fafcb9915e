#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTextDocument>

#include "NoteTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "notes/InkControl.h"
#include "notes/InkSurface.h"
#include "notes/NoteCommands.h"
#include "notes/NoteStream.h"

Q_DECLARE_METATYPE(tempolatch::NoteClip)

using namespace tempolatch;
namespace Cmd = tempolatch::NoteCommand;

namespace {

NoteContent contentOf(const InkControl& ink) {
    return NoteData::fromBytes(ink.noteData()).content();
}

void select(InkControl& ink, int from, int to) {
    QTextCursor cursor(ink.surface()->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    ink.surface()->setTextCursor(cursor);
}

void putCursorAtEnd(InkControl& ink) {
    QTextCursor cursor(ink.surface()->document());
    cursor.movePosition(QTextCursor::End);
    ink.surface()->setTextCursor(cursor);
}

// A note of one line with a clip after its first word.
QByteArray noteWithClip(const QString& text, const NoteClip& clip) {
    NoteContent content;
    content.text = NoteText::fromPlainText(text);
    content.clips = {clip};
    return NoteData::encode(content);
}

NoteClip damagedClip() {
    NoteClip clip;
    clip.damaged = true;
    clip.raw = "\x02garbage";
    return clip;
}

}  // namespace

// Copy, Cut, Paste and a drop carry a note's voice clips, within one note
// and from one note to another; what takes plain text gets each clip as
// its marker.
class NoteClipboardTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<InkControl> m_ink;
    std::unique_ptr<InkControl> m_other;

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_ink = std::make_unique<InkControl>(m_env->ui());
        m_other = std::make_unique<InkControl>(m_env->ui());
        m_ink->resize(400, 300);
        m_ink->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ink.get()));
    }
    void cleanup() {
        m_ink.reset();
        m_other.reset();
        EnvironmentTest::cleanup();
    }

    void copyKeepsTheClipInEveryNote() {
        const NoteClip clip = test::madeUpClip(30);
        m_ink->setNoteData(noteWithClip(QStringLiteral("call \uFFFC agreed"), clip));
        select(*m_ink, 0, 6);
        QVERIFY(m_ink->execute(Cmd::Copy));

        QVERIFY(m_other->execute(Cmd::Paste));
        QCOMPARE(contentOf(*m_other).clips, QList<NoteClip>{clip});
        QCOMPARE(noteToPlainText(m_other->noteData()), QStringLiteral("call [voice note 0:01]"));

        putCursorAtEnd(*m_ink);
        QVERIFY(m_ink->execute(Cmd::Paste));
        QCOMPARE(contentOf(*m_ink).clips, (QList<NoteClip>{clip, clip}));
        QCOMPARE(noteToPlainText(m_ink->noteData()),
                 QStringLiteral("call [voice note 0:01] agreedcall [voice note 0:01]"));

        // Other programs: plain text and HTML show the marker.
        QLineEdit field;
        field.paste();
        QCOMPARE(field.text(), QStringLiteral("call [voice note 0:01]"));
        QVERIFY(QApplication::clipboard()->mimeData()->html().contains(
            QStringLiteral("[voice note 0:01]")));
    }

    // Cut and Paste move a clip, intact or damaged, with its bytes; Undo
    // brings the note back as it was.
    void cutAndPasteMoveTheClip_data() {
        QTest::addColumn<NoteClip>("clip");
        QTest::addColumn<QString>("moved");
        QTest::newRow("intact") << test::madeUpClip(80, 5)
                                << QStringLiteral("a b[voice note 0:02]");
        QTest::newRow("damaged") << damagedClip() << QStringLiteral("a b[voice note, damaged]");
    }
    void cutAndPasteMoveTheClip() {
        QFETCH(NoteClip, clip);
        const QByteArray before = noteWithClip(QStringLiteral("a\uFFFC b"), clip);
        m_ink->setNoteData(before);
        select(*m_ink, 1, 2);
        QVERIFY(m_ink->execute(Cmd::Cut));
        QCOMPARE(contentOf(*m_ink).clips, QList<NoteClip>{});
        putCursorAtEnd(*m_ink);
        QVERIFY(m_ink->execute(Cmd::Paste));
        QTEST(noteToPlainText(m_ink->noteData()), "moved");
        QCOMPARE(contentOf(*m_ink).clips, QList<NoteClip>{clip});

        QVERIFY(m_ink->execute(Cmd::Undo));
        QVERIFY(m_ink->execute(Cmd::Undo));
        QCOMPARE(contentOf(*m_ink), NoteData::fromBytes(before).content());
    }

    // A clip dragged to another place in the note lands there whole.
    void dropPutsTheClipWhereItFalls() {
        const NoteClip clip = test::madeUpClip(30, 7);
        m_ink->setNoteData(noteWithClip(QStringLiteral("x\uFFFCy"), clip));
        select(*m_ink, 1, 2);
        // A drag carries what Copy puts on the clipboard.
        QVERIFY(m_ink->execute(Cmd::Copy));
        const QMimeData* dragged = QApplication::clipboard()->mimeData();
        QTextCursor end(m_ink->surface()->document());
        end.movePosition(QTextCursor::End);
        const QPoint at = m_ink->surface()->cursorRect(end).center() + QPoint(40, 0);
        // As a drag ends: it enters the note, then drops there.
        QDragEnterEvent enter(at, Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_ink->surface()->viewport(), &enter);
        QDropEvent drop(at, Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_ink->surface()->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(noteToPlainText(m_ink->noteData()),
                 QStringLiteral("x[voice note 0:01]y[voice note 0:01]"));
        QCOMPARE(contentOf(*m_ink).clips, (QList<NoteClip>{clip, clip}));
    }
};

TEMPOLATCH_TEST(NoteClipboardTest);
#include "NoteClipboardTest.moc"
