#include "platform/contacts/ContactChooser.h"

#include "platform/Ui.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStringListModel>
#include <QVBoxLayout>

#include "platform/contacts/ContactFolders.h"
#include "platform/contacts/VCardReader.h"

namespace tempolatch::platform {

namespace {

// Letter case and accents do not count when searching: "muller" finds "Müller".
QString searchKey(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!c.isMark())
            key.append(c);
    }
    return key.toCaseFolded();
}

QStringList queryWords(const QString& query) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return searchKey(query).split(blanks, Qt::SkipEmptyParts);
}

bool containsAll(const QString& key, const QStringList& words) {
    for (const QString& word : words) {
        if (!key.contains(word))
            return false;
    }
    return true;
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

ContactChooser::ContactChooser(const QStringList& folders, Ui& ui, Registry& registry,
                               QWidget* parent)
    : QDialog(parent), m_ui(ui), m_registry(registry) {
    setWindowTitle(tr("Choose Contact"));

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setClearButtonEnabled(true);
    m_search->setPlaceholderText(tr("Type part of a name"));
    m_search->installEventFilter(this);
    auto* searchLabel = new QLabel(tr("&Search:"), this);
    searchLabel->setBuddy(m_search);

    m_model = new QStringListModel(this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("contactList"));
    m_list->setModel(m_model);
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* listLabel = new QLabel(tr("&Contacts:"), this);
    listLabel->setBuddy(m_list);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);

    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("folderLabel"));
    m_folderLabel->setWordWrap(true);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folderButton = new QPushButton(tr("&Folder..."), this);
    m_folderButton->setObjectName(QStringLiteral("folderButton"));
    m_folderButton->setAutoDefault(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    m_okButton->setDefault(true);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderLabel, 1);
    folderRow->addWidget(m_folderButton, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(listLabel);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addLayout(folderRow);
    layout->addWidget(buttons);

    setTabOrder(m_search, m_list);
    setTabOrder(m_list, m_folderButton);
    setTabOrder(m_folderButton, buttons);

    connect(m_search, &QLineEdit::textChanged, this, &ContactChooser::applyFilter);
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        m_list->setCurrentIndex(index);
        accept();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ContactChooser::updateState);
    connect(m_folderButton, &QPushButton::clicked, this, &ContactChooser::pickFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &ContactChooser::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ContactChooser::reject);

    // Room for a long name and a screenful of them, within the screen.
    const QFontMetrics metrics = fontMetrics();
    QSize size(metrics.averageCharWidth() * 50, metrics.height() * 30);
    if (const QScreen* screen = QApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);

    setFolders(folders);
    m_search->setFocus();
}

QString ContactChooser::choose(Ui& ui, Registry& registry, QWidget* parent) {
    // The profile's folder is the one the empty list points to: have it there.
    QDir().mkpath(ContactFolders::profileFolder());
    ContactChooser chooser(ContactFolders::forChooser(registry), ui, registry, parent);
    if (chooser.exec() != QDialog::Accepted)
        return {};
    return chooser.chosenName();
}

bool ContactChooser::matches(const QString& name, const QString& query) {
    return containsAll(searchKey(name), queryWords(query));
}

void ContactChooser::setFolders(const QStringList& folders) {
    m_folders = folders;
    {
        WaitCursor wait;
        m_names = VCardReader::namesInFolders(folders);
    }
    m_keys.clear();
    m_keys.reserve(m_names.size());
    for (const QString& name : m_names)
        m_keys.append(searchKey(name));

    QStringList shown;
    for (const QString& folder : folders)
        shown.append(QDir::toNativeSeparators(folder));
    m_folderLabel->setText(tr("Read from: %1").arg(shown.join(QStringLiteral("; "))));
    m_folderLabel->setToolTip(shown.join(QLatin1Char('\n')));
    applyFilter();
}

void ContactChooser::applyFilter() {
    const QString current = m_list->currentIndex().data().toString();
    const QStringList words = queryWords(m_search->text());
    QStringList visible;
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (containsAll(m_keys.at(i), words))
            visible.append(m_names.at(i));
    }
    m_model->setStringList(visible);
    // Keep the person in hand when still shown, else offer the first match,
    // so that Enter always takes what is highlighted.
    qsizetype row = current.isEmpty() ? -1 : visible.indexOf(current);
    if (row < 0 && !visible.isEmpty())
        row = 0;
    if (row >= 0) {
        const QModelIndex index = m_model->index(int(row));
        m_list->setCurrentIndex(index);
        m_list->scrollTo(index);
    }
    updateState();
}

void ContactChooser::updateState() {
    const bool any = m_list->currentIndex().isValid();
    m_okButton->setEnabled(any);
    const auto shown = m_model->rowCount();
    if (m_names.isEmpty())
        m_status->setText(
            tr("No contacts found. Put vCard (.vcf) files into a folder shown below, "
               "or choose another folder."));
    else if (shown == m_names.size())
        m_status->setText(shown == 1 ? tr("1 contact") : tr("%1 contacts").arg(shown));
    else
        m_status->setText(tr("%1 of %2 contacts").arg(shown).arg(m_names.size()));
}

void ContactChooser::pickFolder() {
    const QString start = m_folders.isEmpty() ? QDir::homePath() : m_folders.constLast();
    const QString folder = m_ui.chooseFolder(tr("Contacts Folder"), start, this);
    if (folder.isEmpty())
        return;
    ContactFolders::remember(m_registry, folder);
    setFolders({QDir::cleanPath(folder)});
    m_search->setFocus();
}

void ContactChooser::accept() {
    const QModelIndex index = m_list->currentIndex();
    if (!index.isValid())
        return;
    m_chosen = index.data().toString();
    QDialog::accept();
}

// Up, Down and the page keys in the search box move through the list, so
// that typing a few letters and pressing Enter needs no mouse.
bool ContactChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QApplication::sendEvent(m_list, event);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tempolatch::platform
