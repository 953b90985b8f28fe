// Parts compressed while they are printed: what inflates is what
// Utf8_Sanitize makes of the whole printed text, however the printer cuts
// it, with the CRC-32 and size of that text.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "package/deflate_stream.h"
#include "package/utf8_text.h"
#include "package/xml_deflate_writer.h"
#include "raw_zip.h"

namespace {

// Inflates a raw deflate stream whole; empty and `ok` false when it is not one.
std::string Inflate(const std::string& deflated, bool& ok) {
    z_stream stream{};
    ok = inflateInit2(&stream, -MAX_WBITS) == Z_OK;
    std::string out;
    if (!ok) return out;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflated.data()));
    stream.avail_in = static_cast<uInt>(deflated.size());
    char chunk[1 << 16];
    int result;
    do {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
    } while (result == Z_OK);
    ok = result == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    return out;
}

std::string Sanitized(std::string text) {
    Utf8_Sanitize(text);
    return text;
}

// Writes `text` through the writer in pieces of the given sizes (cycling
// through them) and checks what comes out against the whole text sanitized.
void ExpectDeflatedAsWhole(const std::string& text, const std::vector<size_t>& pieces, const std::string& what) {
    Word::xml_deflate_writer writer(6);
    size_t at = 0;
    for (size_t i = 0; at < text.size(); ++i) {
        const size_t n = std::min(pieces[i % pieces.size()], text.size() - at);
        writer.write(text.data() + at, n);
        at += n;
    }
    ASSERT_TRUE(writer.finish()) << what;
    bool ok = false;
    const std::string inflated = Inflate(writer.deflate.deflated, ok);
    ASSERT_TRUE(ok) << what;
    const std::string expected = Sanitized(text);
    EXPECT_EQ(inflated.size(), expected.size()) << what;
    EXPECT_TRUE(inflated == expected) << what;
    EXPECT_EQ(writer.deflate.size, expected.size()) << what;
    EXPECT_EQ(writer.deflate.crc, raw_zip::Crc32(expected)) << what;
}

// Sequences valid and not, of every length: each is judged over up to four
// bytes, so each can be cut by a block's end.
const std::vector<std::string> kSequences = {
    "\xC3\xA9",          "\xE2\x82\xAC",     "\xF0\x9F\x98\x80", "\xC3",          "\xE2\x82",
    "\xF0\x9F\x98",      "\xC0\xAF",         "\xC1\x80\x80",     "\xED\xA0\x80",  "\xEF\xBF\xBE",
    "\xF5\x80\x80\x80",  "\xFF\x80",         "\xF8\x88\x80\x80\x80", "\x80\x80", "\xF4\x90\x80\x80",
    "\xE0\x80\xAF",      "\xEF\xBF\xBD",     "\xC3\xA9\xC3",     "\xF0\x9F\x98\x80\x80"};

}  // namespace

TEST(XmlDeflateWriter, UnfinishedSequencesAtTheEndOfAPieceWaitForTheNext) {
    EXPECT_EQ(Utf8_CompletePrefix("abc", 3), 3u);
    EXPECT_EQ(Utf8_CompletePrefix("ab\xC3", 3), 2u);
    EXPECT_EQ(Utf8_CompletePrefix("ab\xE2\x82", 4), 2u);
    EXPECT_EQ(Utf8_CompletePrefix("ab\xF0\x9F\x98", 5), 2u);
    // Four bytes from a lead on are judged whatever follows.
    EXPECT_EQ(Utf8_CompletePrefix("ab\xF0\x9F\x98\x80", 6), 6u);
    // After a byte that starts nothing, continuation bytes stand alone.
    EXPECT_EQ(Utf8_CompletePrefix("ab\x80\x80", 4), 4u);
    // An invalid lead takes the continuation bytes after it, so it waits too.
    EXPECT_EQ(Utf8_CompletePrefix("ab\xFF", 3), 2u);
    EXPECT_EQ(Utf8_CompletePrefix("\xC3", 1), 0u);
    EXPECT_EQ(Utf8_CompletePrefix("", 0), 0u);
}

// Every sequence placed across the end of the first block, at each offset,
// written in pieces as the printer sizes them and one byte at a time.
TEST(XmlDeflateWriter, SequencesAcrossBlockEndsInflateAsTheWholeSanitized) {
    const size_t block = Word::xml_deflate_writer::kBlockSize;
    for (const std::string& sequence : kSequences)
        for (size_t before = 1; before <= 5; ++before) {
            std::string text(block - before, 'a');
            text += sequence;
            text += "<w:t>after</w:t>";
            text += sequence;  // also at the very end
            const std::string what = "sequence of " + std::to_string(sequence.size()) + " bytes, " +
                                     std::to_string(before) + " before the block's end";
            ExpectDeflatedAsWhole(text, {2048}, what);
            ExpectDeflatedAsWhole(text, {block - before + 1, 1}, what + ", cut in it");
            ExpectDeflatedAsWhole(text, {block - 7, 1, 1, 1, 1, 1, 1, 1, 1, 1}, what + ", byte by byte");
        }
}

// Many blocks of mixed text: Chinese, emoji, accents, and faults here and
// there, in pieces of sizes that do not divide a block.
TEST(XmlDeflateWriter, ManyBlocksOfMixedText) {
    std::string text;
    for (int i = 0; text.size() < 3 * 1024 * 1024; ++i) {
        text += "<w:p><w:r><w:t>Zo\xC3\xAB \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80 " + std::to_string(i);
        if (i % 97 == 0) text += kSequences[static_cast<size_t>(i / 97) % kSequences.size()];
        text += "</w:t></w:r></w:p>";
    }
    ExpectDeflatedAsWhole(text, {2047, 3, 10000, 1}, "mixed text");
    ExpectDeflatedAsWhole(text, {text.size()}, "mixed text in one piece");
}

TEST(XmlDeflateWriter, NothingPrintedIsAnEmptyStream) {
    ExpectDeflatedAsWhole("", {1}, "empty");
    Zip::DeflateStream deflate;
    ASSERT_TRUE(Zip::DeflateStream_Begin(deflate, 6));
    EXPECT_TRUE(Zip::DeflateStream_End(deflate));
    EXPECT_FALSE(Zip::DeflateStream_End(deflate));  // once only
    EXPECT_FALSE(Zip::DeflateStream_Take(deflate, "x", 1));
    bool ok = false;
    EXPECT_EQ(Inflate(deflate.deflated, ok), "");
    EXPECT_TRUE(ok);
    EXPECT_EQ(deflate.size, 0u);
    EXPECT_EQ(deflate.crc, 0u);
}
