#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/contacts/ContactChooser.h"
#include "platform/contacts/ContactFolders.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

void writeCards(const QString& folder, const QStringList& names) {
    QDir().mkpath(folder);
    QByteArray data;
    for (const QString& name : names)
        data += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name.toUtf8() + "\r\nEND:VCARD\r\n";
    QFile file(folder + QStringLiteral("/book.vcf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QStringList shownNames(ContactChooser& chooser) {
    auto* list = chooser.findChild<QListView*>(QStringLiteral("contactList"));
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        names.append(list->model()->index(row, 0).data().toString());
    return names;
}

QString currentName(ContactChooser& chooser) {
    return chooser.findChild<QListView*>(QStringLiteral("contactList"))
        ->currentIndex()
        .data()
        .toString();
}

}  // namespace

class ContactChooserTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_home;
    QByteArray m_dataHome;

    const QStringList m_people{QStringLiteral("Jörg Müller"), QStringLiteral("Anna Smith"),
                               QStringLiteral("John Smithers"), QStringLiteral("Zoë Durand")};

    // Runs the static chooser while the given steps drive its window.
    QString runChooser(std::function<void(ContactChooser&)> steps) {
        QTimer::singleShot(0, [steps] {
            auto* chooser = qobject_cast<ContactChooser*>(QApplication::activeModalWidget());
            if (!chooser)
                return;
            steps(*chooser);
            if (chooser->isVisible())
                chooser->reject();  // never leave a test hanging on a modal loop
        });
        return ContactChooser::choose(m_env->ui(), m_env->registry(), nullptr);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        // Keep the developer's own address books out of the tests.
        m_home = qgetenv("HOME");
        m_dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(m_env->filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_env->filePath(QStringLiteral("data"))));
        writeCards(ContactFolders::profileFolder(), m_people);
    }
    void cleanup() {
        qputenv("HOME", m_home);
        if (m_dataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_dataHome);
        EnvironmentTest::cleanup();
    }

    void searchFilters_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("nothing typed")
            << QString() << QStringList{"Anna Smith", "John Smithers", "Jörg Müller", "Zoë Durand"};
        QTest::newRow("case and accents do not count")
            << "MULL" << QStringList{QStringLiteral("Jörg Müller")};
        QTest::newRow("every word must occur") << " jo  sm " << QStringList{"John Smithers"};
        QTest::newRow("part of a word") << "smith" << QStringList{"Anna Smith", "John Smithers"};
        QTest::newRow("no match") << "xyz" << QStringList{};
    }

    void searchFilters() {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        ContactChooser chooser({ContactFolders::profileFolder()}, m_env->ui(), m_env->registry());
        auto* search = chooser.findChild<QLineEdit*>(QStringLiteral("search"));
        QTest::keyClicks(search, query);
        QCOMPARE(shownNames(chooser), expected);
        // What is highlighted is what Enter takes; with no match OK is off.
        QCOMPARE(currentName(chooser), expected.value(0));
        QCOMPARE(chooser.findChild<QDialogButtonBox*>(QStringLiteral("buttons"))
                     ->button(QDialogButtonBox::Ok)
                     ->isEnabled(),
                 !expected.isEmpty());
    }

    void chooseReturnsTheName_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::newRow("type and Enter") << "enter"
                                        << "Zoë Durand";
        QTest::newRow("arrow down in the search box") << "down"
                                                      << "John Smithers";
        QTest::newRow("double click") << "double"
                                      << "Jörg Müller";
        QTest::newRow("Escape") << "escape"
                                << "";
        QTest::newRow("Enter with no match") << "nomatch"
                                             << "";
    }

    void chooseReturnsTheName() {
        QFETCH(QString, how);
        QFETCH(QString, expected);
        const QString chosen = runChooser([how](ContactChooser& chooser) {
            auto* search = chooser.findChild<QLineEdit*>(QStringLiteral("search"));
            auto* list = chooser.findChild<QListView*>(QStringLiteral("contactList"));
            if (how == QLatin1String("enter")) {
                QTest::keyClicks(search, QStringLiteral("zo"));
                QTest::keyClick(search, Qt::Key_Return);
            } else if (how == QLatin1String("down")) {
                QTest::keyClick(search, Qt::Key_Down);
                QTest::keyClick(search, Qt::Key_Enter);
            } else if (how == QLatin1String("double")) {
                const QRect rect = list->visualRect(list->model()->index(2, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            } else if (how == QLatin1String("escape")) {
                QTest::keyClick(search, Qt::Key_Escape);
            } else {
                QTest::keyClicks(search, QStringLiteral("nobody"));
                QTest::keyClick(search, Qt::Key_Return);
            }
        });
        QCOMPARE(chosen, expected);
    }

    void otherFolderReplacesTheList() {
        const QString other = m_env->filePath(QStringLiteral("other"));
        writeCards(other, {QStringLiteral("Ola Nordmann")});
        m_env->ui().queueFile(QString());
        m_env->ui().queueFile(other);

        ContactChooser chooser(ContactFolders::forChooser(m_env->registry()), m_env->ui(),
                               m_env->registry());
        auto* button = chooser.findChild<QPushButton*>(QStringLiteral("folderButton"));
        QTest::mouseClick(button, Qt::LeftButton);  // cancelled: nothing changes
        QCOMPARE(shownNames(chooser).size(), m_people.size());

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(shownNames(chooser), QStringList{QStringLiteral("Ola Nordmann")});
        QVERIFY(chooser.findChild<QLabel*>(QStringLiteral("folderLabel"))
                    ->text()
                    .contains(QDir::toNativeSeparators(other)));
        // Next time the picked folder is read beside the usual ones.
        QCOMPARE(ContactFolders::forChooser(m_env->registry()),
                 (QStringList{ContactFolders::profileFolder(), other}));
    }
};

TEMPOLATCH_TEST(ContactChooserTest);
#include "ContactChooserTest.moc"
