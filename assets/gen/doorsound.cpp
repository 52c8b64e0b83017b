// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Synthesises the middle door's sound: the hiss of the air valve releasing, falling off
// as the pressure drops, and the soft thump of the leaves reaching their stop.
// Every run writes the same bytes (own fixed-seed generator, no library distributions),
// so the committed file can be rebuilt and compared.
//
// Usage: doorsound <output.wav>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kSamples = 17640;  // 0.8 s
constexpr double kPi = std::numbers::pi;

// xorshift64*: tiny, and its output is the same everywhere.
class Noise {
public:
    explicit Noise(std::uint64_t seed) : state_(seed) {}
    // Uniform in [-1, 1).
    double next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        const std::uint64_t r = state_ * 0x2545F4914F6CDD1DULL;
        return static_cast<double>(r >> 11) * (2.0 / 9007199254740992.0) - 1.0;
    }

private:
    std::uint64_t state_;
};

// RBJ biquad; coefficients may change per sample for the sweeping valve resonance.
class Biquad {
public:
    void bandPass(double centre, double q) {
        const double w = 2 * kPi * centre / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        set(alpha / a0, 0, -alpha / a0, -2 * std::cos(w) / a0, (1 - alpha) / a0);
    }
    void highPass(double corner, double q) {
        const double w = 2 * kPi * corner / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double c = std::cos(w);
        const double a0 = 1 + alpha;
        set((1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0);
    }
    void lowPass(double corner, double q) {
        const double w = 2 * kPi * corner / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double c = std::cos(w);
        const double a0 = 1 + alpha;
        set((1 - c) / 2 / a0, (1 - c) / a0, (1 - c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0);
    }
    double operator()(double x) {
        const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    void set(double b0, double b1, double b2, double a1, double a2) {
        b0_ = b0;
        b1_ = b1;
        b2_ = b2;
        a1_ = a1;
        a2_ = a2;
    }
    double b0_ = 0, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

double smoothStep(double edge0, double edge1, double t) {
    const double x = std::clamp((t - edge0) / (edge1 - edge0), 0.0, 1.0);
    return x * x * (3 - 2 * x);
}

// The air: a sharp valve opening, then a hiss whose loudness and pitch sink with the pressure.
std::vector<double> hiss(Noise& noise) {
    std::vector<double> out(kSamples);
    Biquad resonance, airiness, rumble;
    airiness.highPass(900, 0.7);
    rumble.lowPass(1800, 0.7);
    for (int i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double pressure = std::exp(-t / 0.22);
        resonance.bandPass(2600 + 2400 * pressure, 0.9);
        const double n = noise.next();
        const double air = airiness(resonance(n)) + 0.25 * rumble(n);
        const double attack = smoothStep(0.0, 0.025, t);
        const double burst = 1.0 + 0.6 * std::exp(-t / 0.035);  // the valve's first gasp
        const double tail = 1.0 - smoothStep(0.50, 0.70, t);
        // A slow flutter makes the air sound moving rather than synthetic.
        const double flutter = 1.0 + 0.08 * std::sin(2 * kPi * 13 * t) * pressure;
        out[i] = air * attack * burst * (0.15 + 0.85 * pressure) * tail * flutter;
    }
    return out;
}

// The leaves' stop: a damped low tone sliding down, with a muffled knock on its onset.
std::vector<double> thump(Noise& noise) {
    constexpr double kStart = 0.585;
    std::vector<double> out(kSamples, 0.0);
    Biquad knock;
    knock.lowPass(450, 0.8);
    double phase = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i) / kRate - kStart;
        const double n = noise.next();  // drawn always, so the hiss does not depend on kStart
        if (t < 0)
            continue;
        const double freq = 58 + 40 * std::exp(-t / 0.03);
        phase += 2 * kPi * freq / kRate;
        const double body = std::sin(phase) * std::exp(-t / 0.055) * smoothStep(0.0, 0.004, t);
        const double hit = knock(n) * std::exp(-t / 0.012) * 3.0;
        out[i] = body + hit;
    }
    return out;
}

std::vector<std::uint8_t> render() {
    Noise noise(0x7A2B0D00125EEDULL);
    const std::vector<double> air = hiss(noise);
    const std::vector<double> stop = thump(noise);

    std::vector<double> mix(kSamples);
    for (int i = 0; i < kSamples; ++i)
        mix[i] = air[i] + 0.6 * stop[i];

    // Gentle edges so that neither end clicks.
    constexpr int kFade = kRate / 100;  // 10 ms
    for (int i = 0; i < kFade; ++i) {
        const double g = 0.5 - 0.5 * std::cos(kPi * i / kFade);
        mix[i] *= g;
        mix[kSamples - 1 - i] *= g;
    }

    double peak = 0;
    for (const double v : mix)
        peak = std::max(peak, std::abs(v));
    const double gain = peak > 0 ? 0.82 / peak : 0;  // headroom: no sample near the rails

    std::vector<std::uint8_t> pcm(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double dither = (noise.next() + noise.next()) * 0.5;  // triangular, ±1 LSB
        const double level = 128.0 + 127.0 * gain * mix[i] + dither;
        pcm[i] = static_cast<std::uint8_t>(std::clamp(std::lround(level), 0L, 255L));
    }
    // Both ends sit exactly at silence.
    pcm.front() = 128;
    pcm.back() = 128;
    return pcm;
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

std::vector<std::uint8_t> riff(const std::vector<std::uint8_t>& pcm) {
    std::vector<std::uint8_t> out;
    const auto dataSize = static_cast<std::uint32_t>(pcm.size());
    putTag(out, "RIFF");
    put32(out, 4 + (8 + 16) + (8 + dataSize + (dataSize & 1)));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);      // PCM
    put16(out, 1);      // mono
    put32(out, kRate);  // samples per second
    put32(out, kRate);  // bytes per second
    put16(out, 1);      // block align
    put16(out, 8);      // bits per sample
    putTag(out, "data");
    put32(out, dataSize);
    out.insert(out.end(), pcm.begin(), pcm.end());
    if (dataSize & 1)
        out.push_back(0);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.wav>\n", argv[0]);
        return 2;
    }
    const std::vector<std::uint8_t> bytes = riff(render());
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
