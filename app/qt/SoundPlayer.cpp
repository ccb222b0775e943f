#include "SoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

// Resources of a static library must be registered by hand.
static void registerSoundResources() {
    Q_INIT_RESOURCE(resources);
}

namespace vantrel::qt {
namespace {
constexpr float kVolume = 0.8f;
}

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {
    registerSoundResources();
}

QString SoundPlayer::resourcePath(ui::Sound sound) {
    switch (sound) {
        case ui::Sound::Menu:
            return QStringLiteral(":/sounds/menu.wav");
        case ui::Sound::End:
            return QStringLiteral(":/sounds/end.wav");
        case ui::Sound::Critical:
            break;
    }
    return QStringLiteral(":/sounds/critical.wav");
}

bool SoundPlayer::audioAvailable() {
    if (available_ < 0) available_ = QMediaDevices::audioOutputs().isEmpty() ? 0 : 1;
    return available_ == 1;
}

void SoundPlayer::play(ui::Sound sound) {
    if (!audioAvailable()) return;
    auto index = static_cast<size_t>(sound);
    if (index >= effects_.size()) return;
    QSoundEffect*& effect = effects_[index];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + resourcePath(sound)));
        effect->setVolume(kVolume);
    }
    // The effect loads in the background and plays once loaded; play() returns at once.
    effect->play();
}

}  // namespace vantrel::qt
