#pragma once

#include <QListView>

#include "views/RowEntryList.h"

namespace tempolatch {

// The Default list: owner-drawn rows of three or four lines with the
// status icon, coloured by status as the Customize Default View says. A tap
// or Enter on a row reports entryTapped (preview or edit, as the user chose).
class DefaultEntryList : public QListView, public RowEntryList {
    Q_OBJECT

public:
    static constexpr int ControlId = 1055;

    explicit DefaultEntryList(QWidget* parent = nullptr);
    ~DefaultEntryList() override;

    int style() const override { return Default; }
    QWidget* widget() override { return this; }
    void setListFont(const QFont& font) override;

    // Rows are as high as this many text lines (4 with the client line).
    int linesPerRow() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void tapped() override;
};

}  // namespace tempolatch
