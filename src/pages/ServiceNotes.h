#pragma once
// "Service Notes": the serial numbers of the actuator's boards and its two notes,
// text in the identification half of the image, in two views that replace each
// other: the notes, and the serial numbers. Send writes the shown view's text two
// bytes a frame, then the identification checksum.
#include "pages/ConfigPage.h"

namespace vantrel::pages {

inline constexpr const char* kNotesCaption = "Notes";
inline constexpr const char* kSerialNumbersCaption = "S/Nos";

class CConfTab6 : public ConfigPage {
public:
    explicit CConfTab6(shell::Context& context);
    const char* className() const override { return "CConfTab6"; }

    void setUp() override;
    void broughtToFront() override;
    bool showsSerialNumbers() const { return showsSerials_; }
    // The notes (view 0) and the serial numbers (view 1).
    int viewCount() const override { return 2; }
    void showView(int view) override;

protected:
    image::FrameSequence frames() const override;
    bool sendFrames(link::LinkPort& link) override;
    void afterTake() override;

private:
    // Replaces the controls and fields by those of the view held in showsSerials_.
    void build();
    void switchNotesView();
    image::FrameSequence textFrames() const;

    bool showsSerials_ = false;
};

}  // namespace vantrel::pages
