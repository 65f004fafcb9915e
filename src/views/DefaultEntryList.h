#pragma once

#include <QListView>

#include "views/RowEntryList.h"

namespace tempolatch {

class Settings;

// The Default list: owner-drawn rows of three or four lines with the
// status icon, coloured by status as the Customize Default View says. A tap
// or Enter on a row reports entryTapped (preview or edit, as the user chose).
class DefaultEntryList : public QListView, public RowEntryList {
    Q_OBJECT

public:
    static constexpr int ControlId = 1055;

    // The rows follow the view customization of the settings.
    explicit DefaultEntryList(const Settings& settings, QWidget* parent = nullptr);
    ~DefaultEntryList() override;

    int style() const override { return Default; }
    QWidget* widget() override { return this; }
    void setListFont(const QFont& font) override;

    // Rows are as high as this many text lines (4 with the client line),
    // unless the rows have a fixed number of lines (expenses: 3).
    int linesPerRow() const;
    void setLinesPerRow(int lines);
    const Settings& settings() const { return m_settings; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void tapped() override;

private:
    const Settings& m_settings;
    int m_fixedLines = 0;  // 0: as the view customization says
};

}  // namespace tempolatch
