#pragma once
// "Contacts S1 to S8": for each of the eight indication contacts, what it signals,
// whether it is normally open or closed, and the value its function uses. Four
// contacts are shown at a time; the rows follow the group shown.
#include <array>

#include "pages/ConfigPage.h"

namespace vantrel::pages {

class CConfTab3 : public ConfigPage {
public:
    explicit CConfTab3(shell::Context& context);
    const char* className() const override { return "CConfTab3"; }

    void setUp() override;
    // The group shown: 0 for S1-S4, 1 for S5-S8.
    int group() const { return group_; }
    // Shows a group as it is stored, as its button does; edits of the other are not taken.
    void showGroup(int group);
    // The two groups are the page's views.
    int viewCount() const override { return kGroupCount; }
    void showView(int view) override;

protected:
    image::FrameSequence frames() const override;

private:
    static constexpr int kRows = 4;
    static constexpr int kContactCount = 8;
    static constexpr int kGroupCount = kContactCount / kRows;

    // The controls of one row, shared by a contact of each group.
    struct Row {
        ui::Label* label = nullptr;
        ui::Button* kind = nullptr;  // "NO" / "NC"
        ui::ComboBox* function = nullptr;
        ui::ComboBox* value = nullptr;
    };

    // Binds the rows to the contacts of a group and names them after it.
    void selectGroup(int group);
    // The group button: shows the other group as it is stored.
    void switchGroup();

    std::array<Row, kRows> rows_{};
    std::array<std::array<Field*, 3>, kContactCount> contactFields_{};
    ui::Button* groupButton_ = nullptr;
    int group_ = 0;
};

}  // namespace vantrel::pages
