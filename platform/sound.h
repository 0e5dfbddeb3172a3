// Sound: short wave sounds and music through the media control interface.
#pragma once

#include <cstdint>
#include <string_view>

namespace vantary::platform {

class Sound {
 public:
  virtual ~Sound() = default;
  // sndPlaySoundA with the given SND_* flags (3: asynchronous, no default sound).
  virtual bool playWave(std::string_view path, std::uint32_t flags) = 0;
  // mciSendStringA with the command text; false when the device refused it.
  virtual bool mciCommand(std::string_view command) = 0;
};

}  // namespace vantary::platform
