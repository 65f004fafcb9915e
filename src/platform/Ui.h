#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QObject;
class QUrl;

namespace tempolatch::platform {

enum class MessageIcon { Information, Warning, Stop, Question };
enum class Answer { Ok, Cancel, Yes, No };

// Message boxes and file dialogs, behind one seam: the window uses the
// desktop's widgets, the command line the console, tests a scripted one.
class Ui {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

    virtual ~Ui();

    // Every box has the caption "Tempolatch". Yes/No questions default to No.
    virtual Answer ask(const QString& text, MessageIcon icon, Buttons buttons, Answer defaultAnswer,
                       QObject* parent) = 0;
    // Filters as "Backup Files (*.tld)|*.tld|"; an empty result means cancelled.
    virtual QString saveFile(const QString& title, const QString& filter,
                             const QString& suggestedPath, QObject* parent) = 0;
    virtual QString openFile(const QString& title, const QString& filter,
                             const QString& startFolder, QObject* parent) = 0;

    // As saveFile and openFile, telling also under which filter (numbered from
    // 1) the file was chosen, for callers whose filters pick a format. The
    // default takes the first filter whose pattern matches the file name.
    struct ChosenFile {
        QString path;
        int filter = 0;
    };
    virtual ChosenFile saveFileWithFilter(const QString& title, const QString& filter,
                                          const QString& suggestedPath, QObject* parent);
    virtual ChosenFile openFileWithFilter(const QString& title, const QString& filter,
                                          const QString& startFolder, QObject* parent);

    void message(const QString& text, MessageIcon icon, QObject* parent = nullptr);

    // A short word that something went well ("Backup written to ..."),
    // shown where it does not stop the user: the main window's status line
    // once it has given the place. Failures stay messages.
    virtual void notice(const QString& text);
    // Hands a file to the desktop's program for it (the shell's "open"
    // verb: a note to the word processor). False when none took it; a Ui
    // without a desktop opens nothing.
    virtual bool openDocument(const QUrl& url);
    // Asks for a folder; an empty path when the user cancelled (or there is
    // nobody to ask).
    virtual QString chooseFolder(const QString& title, const QString& startFolder, QObject* parent);
    using NoticeShown = std::function<void(const QString&)>;
    void setNoticeShown(NoticeShown shown) { m_noticeShown = std::move(shown); }
    // "<done> <path> (<counts>)." with the path as the desktop writes it:
    // noticeDone("Backup written to", path, recordCounts(12, 3)).
    void noticeDone(const QString& done, const QString& path, const QString& counts = {});
    bool question(const QString& text, QObject* parent = nullptr);  // true: Yes
    // A question answered by one of several named choices, or by Cancel
    // (-1): the index of the choice taken. Without anyone to ask (the
    // command line) the default choice is taken.
    virtual int choose(const QString& text, const QStringList& choices, int defaultChoice,
                       QObject* parent);

private:
    NoticeShown m_noticeShown;
};

// "12 time entries, 1 expense"; a negative count is left out.
QString recordCounts(int entries, int expenses = -1);

// "Text Files (*.txt)|*.txt|All (*.*)|*.*|" -> "Text Files (*.txt);;All (*.*)"
QString toQtFilter(const QString& filter);

// The number (from 1) of the first filter whose patterns match the file
// name; 0 when none does.
int filterMatching(const QString& filter, const QString& path);

// Without windows (the command line): messages go to standard error and
// questions take their default answer; no file is ever chosen.
class ConsoleUi : public Ui {
public:
    Answer ask(const QString& text, MessageIcon icon, Buttons buttons, Answer defaultAnswer,
               QObject* parent) override;
    QString saveFile(const QString& title, const QString& filter, const QString& suggestedPath,
                     QObject* parent) override;
    QString openFile(const QString& title, const QString& filter, const QString& startFolder,
                     QObject* parent) override;
};

}  // namespace tempolatch::platform
