#pragma once
// Plays the tool's three sounds from the Qt resources without blocking. Where there
// is no audio output the sounds are silently skipped.
#include <QObject>
#include <array>

#include "ui/Ui.h"

class QSoundEffect;

namespace vantrel::qt {

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);

    void play(ui::Sound sound);
    // False when the machine has no audio output (decided once, on first use).
    bool audioAvailable();
    // The resource that holds a sound.
    static QString resourcePath(ui::Sound sound);

private:
    std::array<QSoundEffect*, 3> effects_{};
    int available_ = -1;  // -1: not checked yet
};

}  // namespace vantrel::qt
