// WaveFile against an independent tool: files made by sox read byte for byte as sox reads them,
// and files that WaveFile writes read back by sox with the same samples.

#include "sound/wave_file.h"
#include "wave_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using namespace wavetest;

struct SoxFormat {
    int bits;
    int channels;
    int rate;
    const char* encoding; // sox's -e argument
    int frames;
    WORD expectedTag;
};

std::string Describe(const SoxFormat& f) {
    return std::to_string(f.bits) + "-bit " + f.encoding + ", " + std::to_string(f.channels) +
           " channel(s), " + std::to_string(f.rate) + " Hz";
}

void PrintTo(const SoxFormat& f, std::ostream* out) {
    *out << Describe(f);
}

// Reads all sample bytes in pieces of varying size, as a streaming clip would.
Bytes ReadAll(WaveFile& wave) {
    Bytes all;
    const DWORD pieces[] = {1, 7, 4096, 333, 65536};
    for (int i = 0;; ++i) {
        Bytes piece(pieces[i % 5]);
        DWORD read = 0;
        if (FAILED(wave.Read(piece.data(), static_cast<DWORD>(piece.size()), &read)) || read == 0) {
            return all;
        }
        all.insert(all.end(), piece.begin(), piece.begin() + read);
    }
}

class SoxFiles : public testing::TestWithParam<SoxFormat> {
protected:
    void SetUp() override { ASSERT_TRUE(SoxAvailable()) << "sox is needed by these tests"; }
    TempFolder folder;
};

TEST_P(SoxFiles, ReadsTheSameFormatAndSamplesAsSox) {
    const SoxFormat& f = GetParam();
    std::string wav = folder.File("in.wav");
    std::string raw = folder.File("in.raw");
    ASSERT_TRUE(RunQuietly("sox -r " + std::to_string(f.rate) + " -n -c " +
                           std::to_string(f.channels) + " -b " + std::to_string(f.bits) + " -e " +
                           f.encoding + " " + wav + " synth " + std::to_string(f.frames) +
                           "s sine 300-3000 sine 440"));
    ASSERT_TRUE(RunQuietly("sox " + wav + " -t raw " + raw));
    Bytes expected = ReadFileBytes(raw);
    ASSERT_FALSE(expected.empty());

    WaveFile wave;
    ASSERT_EQ(wave.Open(wav.c_str(), nullptr, WAVEFILE_READ), S_OK) << Describe(f);
    ASSERT_NE(wave.m_pwfx, nullptr);
    EXPECT_EQ(wave.m_pwfx->wFormatTag, f.expectedTag);
    EXPECT_EQ(wave.m_pwfx->nChannels, f.channels);
    EXPECT_EQ(wave.m_pwfx->nSamplesPerSec, static_cast<DWORD>(f.rate));
    EXPECT_EQ(wave.m_pwfx->wBitsPerSample, f.bits);
    EXPECT_EQ(wave.m_pwfx->nBlockAlign, f.channels * f.bits / 8);
    if (f.expectedTag == WAVE_FORMAT_EXTENSIBLE) {
        ASSERT_EQ(wave.m_pwfx->cbSize, 22);
        const auto* extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(wave.m_pwfx);
        EXPECT_TRUE(extensible->SubFormat == KSDATAFORMAT_SUBTYPE_PCM);
        EXPECT_EQ(extensible->Samples.wValidBitsPerSample, f.bits);
    } else {
        EXPECT_EQ(wave.m_pwfx->cbSize, 0);
    }
    EXPECT_EQ(wave.DataSize(), static_cast<DWORD>(f.frames * f.channels * f.bits / 8));
    EXPECT_EQ(ReadAll(wave), expected) << Describe(f);

    // Rewinding makes the whole data readable again.
    ASSERT_EQ(wave.ResetFile(), S_OK);
    EXPECT_EQ(ReadAll(wave), expected);
}

INSTANTIATE_TEST_SUITE_P(
    BitsChannelsRates, SoxFiles,
    testing::Values(SoxFormat{8, 1, 8000, "unsigned-integer", 1001, WAVE_FORMAT_PCM},
                    SoxFormat{8, 2, 11025, "unsigned-integer", 3000, WAVE_FORMAT_PCM},
                    SoxFormat{16, 1, 22050, "signed-integer", 5000, WAVE_FORMAT_PCM},
                    SoxFormat{16, 2, 44100, "signed-integer", 20000, WAVE_FORMAT_PCM},
                    SoxFormat{24, 1, 48000, "signed-integer", 4801, WAVE_FORMAT_EXTENSIBLE},
                    SoxFormat{24, 2, 32000, "signed-integer", 7000, WAVE_FORMAT_EXTENSIBLE},
                    SoxFormat{32, 2, 48000, "signed-integer", 9000, WAVE_FORMAT_EXTENSIBLE},
                    SoxFormat{32, 1, 16000, "floating-point", 3000, WAVE_FORMAT_IEEE_FLOAT}));

// Chunks that sox does not write itself are spliced into one of its files: a LIST chunk and an
// odd-sized chunk with its pad byte, both between "fmt " and "data".
TEST(SoxFileWithExtraChunks, ChunksBeforeDataArePassedOver) {
    ASSERT_TRUE(SoxAvailable());
    TempFolder folder;
    std::string plain = folder.File("plain.wav");
    ASSERT_TRUE(RunQuietly("sox -r 22050 -n -c 2 -b 16 " + plain + " synth 2001s sine 500"));
    Bytes original = ReadFileBytes(plain);

    Bytes info;
    PutTag(info, "INFO");
    Bytes software = {'q', 'u', 'i', 'l', 'l', 0};
    Bytes list = Chunk("ISFT", software);
    info.insert(info.end(), list.begin(), list.end());
    std::vector<Bytes> chunks;
    for (const ChunkView& c : SubChunks(original)) {
        Bytes body(original.begin() + c.bodyOffset, original.begin() + c.bodyOffset + c.size);
        if (c.id == "data") {
            chunks.push_back(Chunk("LIST", info));
            chunks.push_back(Chunk("odd ", Bytes{1, 2, 3}));
        }
        chunks.push_back(Chunk(c.id.c_str(), body));
    }
    std::string spliced = folder.File("spliced.wav");
    WriteFileBytes(spliced, RiffWave(chunks));
    ASSERT_TRUE(RunQuietly("sox " + spliced + " -t raw " + folder.File("spliced.raw")));
    Bytes expected = ReadFileBytes(folder.File("spliced.raw"));
    ASSERT_EQ(expected.size(), 2001u * 4);

    WaveFile wave;
    ASSERT_EQ(wave.Open(spliced.c_str(), nullptr, WAVEFILE_READ), S_OK);
    EXPECT_EQ(wave.m_pwfx->nChannels, 2);
    EXPECT_EQ(wave.DataSize(), expected.size());
    EXPECT_EQ(ReadAll(wave), expected);
}

struct WrittenFormat {
    WORD tag;
    WORD channels;
    DWORD rate;
    WORD bits;
    std::size_t dataSize;
    const char* soxEncoding; // as soxi -e reports it
};

void PrintTo(const WrittenFormat& f, std::ostream* out) {
    *out << f.bits << "-bit " << f.soxEncoding << ", " << f.channels << " channel(s), " << f.rate
         << " Hz";
}

class FilesWaveFileWrites : public testing::TestWithParam<WrittenFormat> {};

TEST_P(FilesWaveFileWrites, SoxReadsTheSameFormatAndSamples) {
    ASSERT_TRUE(SoxAvailable());
    const WrittenFormat& f = GetParam();
    TempFolder folder;
    std::string path = folder.File("written.wav");
    WAVEFORMATEX format = PcmFormat(f.channels, f.rate, f.bits);
    format.wFormatTag = f.tag;
    Bytes samples = Ramp(f.dataSize);
    if (f.tag == WAVE_FORMAT_IEEE_FLOAT) {
        // Sound-like floats between -1 and 1, so that sox passes them through unchanged.
        for (std::size_t i = 0; i + 4 <= samples.size(); i += 4) {
            float value = static_cast<float>(i % 200) / 100.0f - 1.0f;
            std::memcpy(&samples[i], &value, 4);
        }
    }

    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str(), &format, WAVEFILE_WRITE), S_OK);
    // Written in uneven pieces, larger and smaller than the direct buffer.
    for (std::size_t at = 0; at < samples.size();) {
        UINT piece =
            static_cast<UINT>(std::min<std::size_t>(samples.size() - at, at % 3 ? 5 : 20000));
        UINT written = 0;
        ASSERT_EQ(wave.Write(piece, samples.data() + at, &written), S_OK);
        ASSERT_EQ(written, piece);
        at += piece;
    }
    ASSERT_EQ(wave.Close(), S_OK);

    std::string raw = folder.File("back.raw");
    ASSERT_TRUE(RunQuietly("sox " + path + " -t raw " + raw));
    EXPECT_EQ(ReadFileBytes(raw), samples);
    EXPECT_EQ(Output("soxi -r " + path), std::to_string(f.rate) + "\n");
    EXPECT_EQ(Output("soxi -c " + path), std::to_string(f.channels) + "\n");
    EXPECT_EQ(Output("soxi -b " + path), std::to_string(f.bits) + "\n");
    EXPECT_EQ(Output("soxi -e " + path), std::string(f.soxEncoding) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    BitsChannelsRates, FilesWaveFileWrites,
    testing::Values(WrittenFormat{WAVE_FORMAT_PCM, 1, 8000, 8, 1001, "Unsigned Integer PCM"},
                    WrittenFormat{WAVE_FORMAT_PCM, 2, 44100, 16, 100000, "Signed Integer PCM"},
                    WrittenFormat{WAVE_FORMAT_PCM, 2, 48000, 24, 6 * 3001, "Signed Integer PCM"},
                    WrittenFormat{WAVE_FORMAT_IEEE_FLOAT, 1, 22050, 32, 4 * 5000,
                                  "Floating Point PCM"}));

} // namespace
