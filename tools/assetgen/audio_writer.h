// Sound file output for the data tool: 16-bit PCM WAV and Ogg Vorbis, both at
// 44100 Hz and both the same bytes on every run. Files are written under a
// temporary name and renamed into place, so a failed run never leaves a
// half-written file. Failures throw std::runtime_error with the file name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Samples -1..1 (clamped), one vector per channel (one or two, equally long).
void write_wav(const std::filesystem::path& file, const std::vector<std::vector<float>>& channels);

// Stereo, variable bit rate at the given Vorbis quality (-0.1 .. 1). Encoders
// usually draw the Ogg stream's serial number at random; a fixed one from the
// caller keeps the bytes the same between runs.
void write_ogg_vorbis(const std::filesystem::path& file, const std::vector<float>& left,
                      const std::vector<float>& right, int serial, float quality,
                      const char* title);
