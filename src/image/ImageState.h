#pragma once
// The link state and the configuration image: all that the image operations
// (extract, update, files) need. The shell's Context extends it.
#include "image/ConfigImage.h"
#include "link/LinkState.h"

namespace vantrel::image {

struct ImageState : link::LinkState {
    using link::LinkState::LinkState;

    ConfigImage image;
};

}  // namespace vantrel::image
