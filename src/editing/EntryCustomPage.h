#pragma once

#include <array>

#include "editing/EntryPage.h"

class QComboBox;

namespace tempolatch {

// The editor's third page: the three custom fields under the user's labels.
class EntryCustomPage : public EntryPage {
    Q_OBJECT
public:
    explicit EntryCustomPage(EntryEditState& state, QWidget* parent = nullptr);

    bool apply() override;

protected:
    void build() override;

private:
    std::array<QComboBox*, 3> m_fields{};
};

}  // namespace tempolatch
