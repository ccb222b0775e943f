#pragma once
// The link state and the configuration image: all that the image operations
// (extract, update, files) need. The shell's Context extends it.
#include "image/ConfigImage.h"
#include "link/LinkState.h"

namespace vantrel::image {

struct ImageState : link::LinkState {
    using link::LinkState::LinkState;

    ConfigImage image;
    // Told how far an extract or update has come: frames done of the frames the run
    // is expected to take (the expectation grows as an extract learns the option
    // card). Empty when nobody shows progress.
    std::function<void(int done, int total)> progress;
};

}  // namespace vantrel::image
