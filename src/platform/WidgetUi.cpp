#include "platform/WidgetUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "platform/StringTable.h"

namespace tempolatch::platform {

namespace {

QWidget* ownerOf(QObject* parent) {
    if (auto* widget = qobject_cast<QWidget*>(parent))
        return widget->window();
    return QApplication::activeWindow();
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton boxButton(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return QMessageBox::Ok;
        case Answer::Cancel:
            return QMessageBox::Cancel;
        case Answer::Yes:
            return QMessageBox::Yes;
        case Answer::No:
            return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons boxButtons(Ui::Buttons buttons) {
    switch (buttons) {
        case Ui::Buttons::Ok:
            return QMessageBox::Ok;
        case Ui::Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Ui::Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Ui::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Answer answerOf(int button, Answer fallback) {
    switch (button) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return fallback;  // closed without a button: as if the default was taken
    }
}

}  // namespace

bool WidgetUi::displayIsVisible() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

Answer WidgetUi::ask(const QString& text, MessageIcon icon, Buttons buttons, Answer defaultAnswer,
                     QObject* parent) {
    const Answer fallback = buttons == Buttons::Ok ? Answer::Ok : defaultAnswer;
    if (!displayIsVisible()) {
        std::fprintf(stderr, "Tempolatch: %s\n", qPrintable(text));
        return fallback;
    }
    QMessageBox box(boxIcon(icon), resourceString(str::AppName), text, boxButtons(buttons),
                    ownerOf(parent));
    box.setDefaultButton(boxButton(fallback));
    // Escape means "no change": No where there is one, else the default.
    if (buttons == Buttons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    return answerOf(box.exec(), buttons == Buttons::YesNo ? Answer::No : fallback);
}

int WidgetUi::choose(const QString& text, const QStringList& choices, int defaultChoice,
                     QObject* parent) {
    if (!displayIsVisible())
        return Ui::choose(text, choices, defaultChoice, parent);
    QMessageBox box(QMessageBox::Question, resourceString(str::AppName), text, QMessageBox::Cancel,
                    ownerOf(parent));
    QList<QAbstractButton*> buttons;
    for (const QString& choice : choices)
        buttons.append(box.addButton(choice, QMessageBox::AcceptRole));
    if (defaultChoice >= 0 && defaultChoice < buttons.size())
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons[defaultChoice]));
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

namespace {

// The 1-based number of the filter the user picked, as the callers count them.
int chosenFilterNumber(const QString& qtFilters, const QString& selected) {
    return int(qtFilters.split(QStringLiteral(";;")).indexOf(selected)) + 1;
}

// "*.tld" of the first filter gives "tld"; wildcards give none.
QString defaultSuffixOf(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return {};
    const QString pattern = parts[1].section(QLatin1Char(';'), 0, 0).trimmed();
    if (!pattern.startsWith(QStringLiteral("*.")) || pattern.mid(2).contains(QLatin1Char('*')))
        return {};
    return pattern.mid(2);
}

}  // namespace

Ui::ChosenFile WidgetUi::saveFileWithFilter(const QString& title, const QString& filter,
                                            const QString& suggestedPath, QObject* parent) {
    if (!displayIsVisible())
        return {};
    const QString qtFilters = toQtFilter(filter);
    QFileDialog dialog(ownerOf(parent), title, suggestedPath, qtFilters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The extension is added inside the dialog, so that its question about
    // replacing a file is asked of the name that will really be written.
    dialog.setDefaultSuffix(defaultSuffixOf(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().first(),
            chosenFilterNumber(qtFilters, dialog.selectedNameFilter())};
}

Ui::ChosenFile WidgetUi::openFileWithFilter(const QString& title, const QString& filter,
                                            const QString& startFolder, QObject* parent) {
    if (!displayIsVisible())
        return {};
    const QString qtFilters = toQtFilter(filter);
    QString selected;
    const QString path =
        QFileDialog::getOpenFileName(ownerOf(parent), title, startFolder, qtFilters, &selected);
    return {path, path.isEmpty() ? 0 : chosenFilterNumber(qtFilters, selected)};
}

QString WidgetUi::saveFile(const QString& title, const QString& filter,
                           const QString& suggestedPath, QObject* parent) {
    return saveFileWithFilter(title, filter, suggestedPath, parent).path;
}

QString WidgetUi::openFile(const QString& title, const QString& filter, const QString& startFolder,
                           QObject* parent) {
    return openFileWithFilter(title, filter, startFolder, parent).path;
}

bool WidgetUi::openDocument(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QString WidgetUi::chooseFolder(const QString& title, const QString& startFolder, QObject* parent) {
    if (!displayIsVisible())
        return {};
    return QFileDialog::getExistingDirectory(ownerOf(parent), title, startFolder);
}

}  // namespace tempolatch::platform
