#include "audio_writer.h"

#include "file_writer.h"

#include "synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& reason) {
    throw std::runtime_error("cannot write " + file.string() + ": " + reason);
}

void put_le(std::vector<uint8_t>* bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put_tag(std::vector<uint8_t>* bytes, const char* tag) {
    bytes->insert(bytes->end(), tag, tag + 4);
}

int16_t to_pcm16(float sample) {
    return static_cast<int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

void append_page(std::vector<uint8_t>* bytes, const ogg_page& page) {
    bytes->insert(bytes->end(), page.header, page.header + page.header_len);
    bytes->insert(bytes->end(), page.body, page.body + page.body_len);
}

// The libvorbis and libogg encoder states, released on every path.
struct VorbisEncoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool analysing = false, streaming = false;

    VorbisEncoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~VorbisEncoder() {
        if (streaming) ogg_stream_clear(&stream);
        if (analysing) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

// Moves every packet the encoder has finished into pages.
void drain_packets(VorbisEncoder* encoder, std::vector<uint8_t>* bytes) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&encoder->dsp, &encoder->block) == 1) {
        vorbis_analysis(&encoder->block, nullptr);
        vorbis_bitrate_addblock(&encoder->block);
        while (vorbis_bitrate_flushpacket(&encoder->dsp, &packet)) {
            ogg_stream_packetin(&encoder->stream, &packet);
            while (ogg_stream_pageout(&encoder->stream, &page))
                append_page(bytes, page);
        }
    }
}

} // namespace

void write_wav(const std::filesystem::path& file, const std::vector<std::vector<float>>& channels) {
    if (channels.empty() || channels.size() > 2) fail(file, "only mono and stereo are written");
    const size_t frames = channels[0].size();
    for (const std::vector<float>& channel : channels)
        if (channel.size() != frames) fail(file, "channels differ in length");
    const uint32_t count = static_cast<uint32_t>(channels.size());
    const uint32_t data_bytes = static_cast<uint32_t>(frames * count * 2);

    std::vector<uint8_t> bytes;
    put_tag(&bytes, "RIFF");
    put_le(&bytes, 36 + data_bytes, 4);
    put_tag(&bytes, "WAVE");
    put_tag(&bytes, "fmt ");
    put_le(&bytes, 16, 4);
    put_le(&bytes, 1, 2); // PCM
    put_le(&bytes, count, 2);
    put_le(&bytes, kSampleRate, 4);
    put_le(&bytes, kSampleRate * count * 2, 4); // bytes per second
    put_le(&bytes, count * 2, 2);               // bytes per frame
    put_le(&bytes, 16, 2);                      // bits per sample
    put_tag(&bytes, "data");
    put_le(&bytes, data_bytes, 4);
    for (size_t i = 0; i < frames; ++i)
        for (const std::vector<float>& channel : channels)
            put_le(&bytes, static_cast<uint16_t>(to_pcm16(channel[i])), 2);
    write_file_bytes(file, bytes);
}

void write_ogg_vorbis(const std::filesystem::path& file, const std::vector<float>& left,
                      const std::vector<float>& right, int serial, float quality,
                      const char* title) {
    if (left.size() != right.size()) fail(file, "channels differ in length");
    VorbisEncoder encoder;
    if (vorbis_encode_init_vbr(&encoder.info, 2, kSampleRate, quality) != 0)
        fail(file, "the Vorbis encoder refuses its settings");
    vorbis_comment_add_tag(&encoder.comment, "TITLE", title);
    vorbis_comment_add_tag(&encoder.comment, "ARTIST", "Sheepfall");
    if (vorbis_analysis_init(&encoder.dsp, &encoder.info) != 0)
        fail(file, "cannot start the Vorbis encoder");
    vorbis_block_init(&encoder.dsp, &encoder.block);
    encoder.analysing = true;
    ogg_stream_init(&encoder.stream, serial);
    encoder.streaming = true;

    std::vector<uint8_t> bytes;
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &identification, &comments,
                              &codebooks);
    ogg_stream_packetin(&encoder.stream, &identification);
    ogg_stream_packetin(&encoder.stream, &comments);
    ogg_stream_packetin(&encoder.stream, &codebooks);
    ogg_page page;
    // The headers get pages of their own, so the sound starts on a fresh page.
    while (ogg_stream_flush(&encoder.stream, &page))
        append_page(&bytes, page);

    constexpr size_t kChunk = 4096;
    for (size_t at = 0; at < left.size(); at += kChunk) {
        const size_t n = std::min(kChunk, left.size() - at);
        float** buffer = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(n));
        std::copy_n(left.begin() + at, n, buffer[0]);
        std::copy_n(right.begin() + at, n, buffer[1]);
        vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(n));
        drain_packets(&encoder, &bytes);
    }
    vorbis_analysis_wrote(&encoder.dsp, 0); // the end of the sound
    drain_packets(&encoder, &bytes);
    while (ogg_stream_flush(&encoder.stream, &page))
        append_page(&bytes, page);
    write_file_bytes(file, bytes);
}
