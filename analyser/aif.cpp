#include <array>
#include <string_view>

#include "analyser/name_table.h"
#include "analyser/packet_decode.h"
#include "analyser/packet_texts.h"

namespace t27 {

namespace {

constexpr std::string_view from_stream = "Refer to stream header";

constexpr std::array<std::string_view, 16> coding_type_names = {
    from_stream, "LPCM",   "AC3",          "MPEG1",  "MP3", "MPEG2", "AAC LC",  "DTS",
    "ATRAC",     "OneBit", "Enhanced AC3", "DTS-HD", "MAT", "DST",   "WMA Pro", "Ext. Type"};

// Code n > 0 means n+1 channels; the leading blank is part of the text.
constexpr std::array<std::string_view, 8> channel_count_names = {from_stream, " 2", " 3", " 4",
                                                                 " 5",        " 6", " 7", " 8"};

constexpr std::array<std::string_view, 8> sample_rate_names = {
    from_stream, "32 kHz", "44.1 kHz", "48 kHz", "88.2 kHz", "96 kHz", "176.4 kHz", "192 kHz"};

constexpr std::array<std::string_view, 4> sample_size_names = {from_stream, "16 Bits", "20 Bits",
                                                               "24 Bits"};

constexpr std::string_view reserved = "Reserved";

// Codes 11..31 are reserved too.
constexpr std::array<std::string_view, 11> ext_coding_type_names = {
    "Refer to Coding Type", "Not in use", "Not in use", "Not in use", "MPEG4 AAC",   "MPEG4 AACv2",
    "MPEG4 AACLC",          "MPEG4 DRA",  "MPEG4 AAC+", reserved,     "MPEG4 AACLC+"};

// Channel allocation code -> the speakers at positions 8 down to 1, each text
// 26 characters wide so the report's column lines up.
constexpr std::array<std::string_view, 50> speaker_placement_names = {
    " -   -   -  -  -  -  FR FL",  // 0
    " -   -   -  -  - LFE FR FL",  // 1
    " -   -   -  - FC  -  FR FL",  // 2
    " -   -   -  - FC LFE FR FL",  // 3
    " -   -   - RC  -  -  FR FL",  // 4
    " -   -   - RC  - LFE FR FL",  // 5
    " -   -   - RC FC  -  FR FL",  // 6
    " -   -   - RC FC LFE FR FL",  // 7
    " -   -  RR RL  -  -  FR FL",  // 8
    " -   -  RR RL  - LFE FR FL",  // 9
    " -   -  RR RL FC  -  FR FL",  // 10
    " -   -  RR RL FC LFE FR FL",  // 11
    " -  RC  RR RL  -  -  FR FL",  // 12
    " -  RC  RR RL  - LFE FR FL",  // 13
    " -  RC  RR RL FC  -  FR FL",  // 14
    " -  RC  RR RL FC LFE FR FL",  // 15
    "RRC RLC RR RL  -  -  FR FL",  // 16
    "RRC RLC RR RL  - LFE FR FL",  // 17
    "RRC RLC RR RL FC  -  FR FL",  // 18
    "RRC RLC RR RL FC LFE FR FL",  // 19
    "FRC FLC  -  -  -  -  FR FL",  // 20
    "FRC FLC  -  -  - LFE FR FL",  // 21
    "FRC FLC  -  - FC  -  FR FL",  // 22
    "FRC FLC  -  - FC LFE FR FL",  // 23
    "FRC FLC  - RC  -  -  FR FL",  // 24
    "FRC FLC  - RC  - LFE FR FL",  // 25
    "FRC FLC  - RC FC  -  FR FL",  // 26
    "FRC FLC  - RC FC LFE FR FL",  // 27
    "FRC FLC RR RL  -  -  FR FL",  // 28
    "FRC FLC RR RL  - LFE FR FL",  // 29
    "FRC FLC RR RL FC  -  FR FL",  // 30
    "FRC FLC RR RL FC LFE FR FL",  // 31
    " -  FCH RR RL FC  -  FR FL",  // 32
    " -  FCH RR RL FC LFE FR FL",  // 33
    " TC  -  RR RL FC  -  FR FL",  // 34
    " TC  -  RR RL FC LFE FR FL",  // 35
    "FRH FLH RR RL  -  -  FR FL",  // 36
    "FRH FLH RR RL  - LFE FR FL",  // 37
    "FRW FLW RR RL  -  -  FR FL",  // 38
    "FRW FLW RR RL  - LFE FR FL",  // 39
    " TC RC  RR RL FC  -  FR FL",  // 40
    " TC RC  RR RL FC LFE FR FL",  // 41
    "FCH RC  RR RL FC  -  FR FL",  // 42
    "FCH RC  RR RL FC LFE FR FL",  // 43
    " TC FCH RR RL FC  -  FR FL",  // 44
    " TC FCH RR RL FC LFE FR FL",  // 45
    "FRH FLH RR RL FC  -  FR FL",  // 46
    "FRH FLH RR RL FC LFE FR FL",  // 47
    "FRW FLW RR RL FC  -  FR FL",  // 48
    "FRW FLW RR RL FC LFE FR FL",  // 49
};

constexpr std::array<std::string_view, 2> down_mix_names = {"Permitted/No info", "Prohibited"};

}  // namespace

void decode_aif(const PacketBytes& b, PacketFields& f) {
    f.CodingTypeText = table_text(coding_type_names, (b[4] >> 4) & 0x0F);
    f.ChannelCountText = table_text(channel_count_names, b[4] & 0x07);
    f.SampleRateText = table_text(sample_rate_names, (b[5] >> 2) & 0x07);
    f.SampleSizeText = table_text(sample_size_names, b[5] & 0x03);
    f.ExtCodingTypeText = table_text(ext_coding_type_names, b[6] & 0x1F, reserved);
    f.SpeakerPlacementText = table_text(speaker_placement_names, b[7], reserved);
    f.DownMixText = table_text(down_mix_names, (b[8] >> 7) & 0x01);
}

int aif_coding_type_code(std::string_view text) {
    for (std::size_t i = 0; i < coding_type_names.size(); ++i)
        if (coding_type_names[i] == text) return static_cast<int>(i);
    return -1;
}

}  // namespace t27
