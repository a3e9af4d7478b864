#pragma once
// Builds EDID images for tests field by field, so that each expectation can be
// read off the bytes that were put there.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "edid/edid_buffer.h"

namespace t27::test {

class EdidImage {
  public:
    explicit EdidImage(int blocks = 1) : bytes_(static_cast<std::size_t>(128 * blocks), 0) {
        set(0, {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00});
        set(126, blocks - 1);
    }

    EdidImage& set(int at, int value) {
        bytes_.at(static_cast<std::size_t>(at)) = static_cast<std::uint8_t>(value);
        return *this;
    }
    EdidImage& set(int at, std::initializer_list<int> values) {
        for (int v : values) set(at++, v);
        return *this;
    }
    EdidImage& fill(int from, int to, int value) {
        for (int i = from; i < to; ++i) set(i, value);
        return *this;
    }
    int get(int at) const { return bytes_.at(static_cast<std::size_t>(at)); }

    // An 18-byte detailed timing in descriptor n (1-4) of block 0.
    EdidImage& timing(int n, int clock_10khz, int h_active, int h_blank, int v_active, int v_blank,
                      bool interlaced = false) {
        const int at = 54 + 18 * (n - 1);
        set(at, {clock_10khz & 0xFF, clock_10khz >> 8, h_active & 0xFF, h_blank & 0xFF,
                 ((h_active >> 8) << 4) | (h_blank >> 8), v_active & 0xFF, v_blank & 0xFF,
                 ((v_active >> 8) << 4) | (v_blank >> 8)});
        set(at + 17, interlaced ? 0x80 : 0x18);
        return *this;
    }
    // A display descriptor: 00 00 00 tag 00, then 13 bytes of payload.
    EdidImage& display(int n, int tag, const std::vector<int>& payload = {}) {
        const int at = 54 + 18 * (n - 1);
        set(at, {0, 0, 0, tag, 0});
        for (int k = 0; k < 13; ++k) {
            set(at + 5 + k,
                k < static_cast<int>(payload.size()) ? payload[static_cast<std::size_t>(k)] : 0x20);
        }
        return *this;
    }
    // A monitor name descriptor; names shorter than 13 end with 0x0A.
    EdidImage& name(int n, const std::string& text) {
        std::vector<int> p(text.begin(), text.end());
        if (p.size() < 13) p.push_back(0x0A);
        return display(n, 0xFC, p);
    }
    // A range limits descriptor with the maximum pixel clock in 10 MHz units.
    EdidImage& range_limits(int n, int max_clock_10mhz) {
        return display(n, 0xFD, {56, 76, 30, 83, max_clock_10mhz, 0x00, 0x0A});
    }
    // A CEA-861 extension at `block` holding `data_blocks` (each given with its
    // header byte), followed by an empty detailed timing area.
    EdidImage& cea(int block, const std::vector<std::vector<int>>& data_blocks) {
        const int s = 128 * block;
        int at = s + 4;
        for (const auto& db : data_blocks) {
            for (int v : db) set(at++, v);
        }
        set(s, {0x02, 0x03, at - s, 0x00});
        return *this;
    }

    // Sets byte 127 of every block so that the block sums to 0.
    EdidImage& fix_checksums() {
        for (std::size_t b = 0; b < bytes_.size() / 128; ++b) {
            int sum = 0;
            for (std::size_t i = 0; i < 127; ++i) sum += bytes_[128 * b + i];
            bytes_[128 * b + 127] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
        }
        return *this;
    }

    std::string bytes() const { return std::string(bytes_.begin(), bytes_.end()); }

    EdidBuffer buffer() const {
        EdidBuffer buf;
        edid_store(buf, bytes());
        return buf;
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Data blocks with their header bytes (tag in bits 5-7, length in bits 0-4).
inline std::vector<int> data_block(int tag, std::vector<int> payload) {
    payload.insert(payload.begin(), (tag << 5) | static_cast<int>(payload.size()));
    return payload;
}
inline std::vector<int> extended_block(int ext_tag, std::vector<int> payload) {
    payload.insert(payload.begin(), ext_tag);
    return data_block(7, payload);
}

}  // namespace t27::test
