#include "reports/ChartsDialog.h"

#include <QChartView>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/Locale.h"
#include "platform/Ui.h"
#include "reports/ChartImage.h"
#include "reports/Summaries.h"
#include "settings/Context.h"
#include "store/RecordStore.h"
#include "widgets/WaitCursor.h"
#include "widgets/WindowPlace.h"

namespace tempolatch {

namespace {

QDate dateOf(const platform::SystemTime& st) {
    return QDate(st.year, st.month, st.day);
}

QChartView* chartPage(const ChartTable& table, const QString& title, const QString& name) {
    auto* view = new QChartView(makeChart(table, title));
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 320);
    return view;
}

// The file's name ends as its chosen type says.
QString withSuffix(QString path, int filter) {
    const QString suffix = filter == 2 ? QStringLiteral("svg") : QStringLiteral("png");
    const QString given = QFileInfo(path).suffix().toLower();
    if (given != QLatin1String("svg") && given != QLatin1String("png"))
        path += u'.' + suffix;
    return path;
}

}  // namespace

ChartsDialog::ChartsDialog(Context& context, const SummaryPeriod& period,
                           const QList<quint32>& recordIds, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("chartsDialog"));
    setWindowTitle(QStringLiteral("Charts"));
    m_periodText = platform::Locale::shortDate(period.start) + QStringLiteral(" - ") +
                   platform::Locale::shortDate(period.end);
    {
        WaitCursor wait;
        const EntryWalk entries = listedEntries(context.store, recordIds);
        QDate first = dateOf(period.start);
        const QDate last = dateOf(period.end);
        // A custom period of years would give bars too thin to see.
        if (first.daysTo(last) >= ChartMostDays)
            first = last.addDays(1 - ChartMostDays);
        m_hours = hoursPerDay(entries, first, last);
        m_amounts = amountPerClient(entries, context.settings.hasFlag(PreciseCalculation));
    }
    m_pages = new QTabWidget(this);
    m_pages->addTab(chartPage(m_hours, chartTitle(0), QStringLiteral("hoursPerDay")),
                    QStringLiteral("&Hours per Day"));
    m_pages->addTab(chartPage(m_amounts, chartTitle(1), QStringLiteral("amountPerClient")),
                    QStringLiteral("&Amount per Client"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* exportButton =
        buttons->addButton(QStringLiteral("&Export..."), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("exportChart"));
    connect(exportButton, &QPushButton::clicked, this, &ChartsDialog::exportShown);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    resize(900, 600);
}

QString ChartsDialog::chartTitle(int page) const {
    return (page == 0 ? QStringLiteral("Hours per day, ") : QStringLiteral("Amount per client, ")) +
           m_periodText;
}

void ChartsDialog::exportShown() {
    const int page = m_pages->currentIndex();
    const platform::Ui::ChosenFile chosen = m_context.ui.saveFileWithFilter(
        QStringLiteral("Export Chart"),
        QStringLiteral("PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg|"),
        page == 0 ? QStringLiteral("hours-per-day.png") : QStringLiteral("amount-per-client.png"),
        this);
    if (chosen.path.isEmpty())
        return;
    const QString path = withSuffix(chosen.path, chosen.filter);
    QString error;
    bool written = false;
    {
        WaitCursor wait;
        written = writeChartFile(table(page), chartTitle(page), path, error);
    }
    if (!written) {
        m_context.ui.message(QStringLiteral("The chart could not be written: %1").arg(error),
                             platform::MessageIcon::Stop, this);
        return;
    }
    m_context.ui.noticeDone(QStringLiteral("Chart written to"), path);
}

void openCharts(Context& context, QWidget* parent, const SummaryPeriod& period,
                const QList<quint32>& recordIds) {
    ChartsDialog dialog(context, period, recordIds, parent);
    keepWindowPlace(&dialog, context.registry, QStringLiteral("Charts"));
    dialog.exec();
}

}  // namespace tempolatch
