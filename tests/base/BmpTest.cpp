// Bitmap files: what is written reads back, and bytes that are no readable bitmap are refused with a
// message, within the budgets, before anything is allocated.

#include <base/Bmp.h>

#include <gtest/gtest.h>

namespace {

base::Pixels sample(int w, int h) {
    base::Pixels p{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.rgb.push_back(static_cast<std::uint32_t>((x * 37 + y * 11) & 0xff) << 16 | (x * 5 & 0xff) << 8 |
                            (y * 13 & 0xff));
    return p;
}

void put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>(v >> (8 * i) & 0xff);
}

TEST(Bmp, whatIsWrittenReadsBack) {
    for (auto [w, h] :
         {std::pair{1, 1}, {3, 2}, {4, 5}, {7, 3}}) { // rows of 3, 9, 12 and 21 bytes: all paddings
        base::Pixels in = sample(w, h), out;
        std::string bytes = base::encodeBmp(in);
        const std::size_t stride = (w * 3 + 3) / 4 * 4;
        EXPECT_EQ(bytes.size(), 54 + stride * h) << w << "×" << h << ": headers and padded rows";
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        std::string error;
        ASSERT_TRUE(base::decodeBmp(bytes, out, &error)) << error;
        EXPECT_EQ(out, in) << w << "×" << h;
    }
    base::Pixels one{1, 1, {0x123456}};
    std::string bytes = base::encodeBmp(one);
    EXPECT_EQ(bytes.substr(54, 3), std::string("\x56\x34\x12", 3)) << "a pixel is stored blue, green, red";
}

TEST(Bmp, otherKindsThatAreRead) {
    base::Pixels in = sample(3, 2), out;
    // Rows from the top: a negative height.
    std::string topDown = base::encodeBmp(
        base::Pixels{3, 2, {in.rgb[3], in.rgb[4], in.rgb[5], in.rgb[0], in.rgb[1], in.rgb[2]}});
    put32(topDown, 22, static_cast<std::uint32_t>(-2));
    ASSERT_TRUE(base::decodeBmp(topDown, out));
    EXPECT_EQ(out, in) << "a negative height lists the rows from the top";
    // 32 bits a pixel: blue, green, red and a byte that is not used.
    std::string deep = base::encodeBmp(base::Pixels{1, 1, {0}});
    deep.resize(54);
    deep[28] = 32;
    deep += std::string("\x30\x20\x10\xff", 4);
    put32(deep, 2, static_cast<std::uint32_t>(deep.size()));
    ASSERT_TRUE(base::decodeBmp(deep, out));
    EXPECT_EQ(out, (base::Pixels{1, 1, {0x102030}})) << "a 32-bit pixel";
}

TEST(Bmp, faultyBytesAreRefusedWithAReason) {
    const std::string good = base::encodeBmp(sample(4, 4));
    auto with = [&](std::size_t at, std::uint32_t v, int bytes = 4) {
        std::string s = good;
        for (int i = 0; i < bytes; ++i)
            s[at + i] = static_cast<char>(v >> (8 * i) & 0xff);
        return s;
    };
    const struct {
        std::string bytes;
        const char* message;
        const char* why;
    } cases[] = {
        {"", "not a bitmap", "no bytes"},
        {"PK" + good.substr(2), "not a bitmap", "another file's header"},
        {good.substr(0, 40), "not a bitmap", "shorter than the headers"},
        {with(14, 12), "information header of 12 bytes", "the old 12-byte header is not read"},
        {with(14, 0xffffff00u), "information header", "a header longer than the file"},
        {with(26, 2, 2), "2 planes", "planes other than one"},
        {with(30, 1), "compressed", "run-length compression"},
        {with(28, 8, 2), "8 bits a pixel", "a palette"},
        {with(28, 16, 2), "16 bits a pixel", "16 bits"},
        {with(18, 0), "no pixels", "no width"},
        {with(22, 0), "no pixels", "no height"},
        {with(22, 0x80000000u), "no pixels", "the smallest height has no positive twin"},
        {with(18, static_cast<std::uint32_t>(-4)), "no pixels", "a negative width"},
        {with(18, 16385), "more than 16384 a side", "too wide"},
        {with(22, static_cast<std::uint32_t>(-16385)), "more than 16384 a side", "too tall from the top"},
        {with(22, 10000) /* 4 × 10,000 is within */, "cut short", "rows beyond the end of the file"},
        {[&] {
             std::string s = with(18, 10000);
             return with(22, 10000).substr(0, 18) + s.substr(18, 4) + with(22, 10000).substr(22);
         }(),
         "25000000 in all", "too many pixels though each side is within"},
        {with(10, 0xfffffff0u), "cut short", "the pixels start beyond the end"},
        {with(10, 20), "cut short", "the pixels start inside the headers"},
        {good.substr(0, good.size() - 1), "cut short", "one byte missing"},
    };
    for (const auto& c : cases) {
        base::Pixels out{1, 1, {7}};
        std::string error;
        EXPECT_FALSE(base::decodeBmp(c.bytes, out, &error)) << c.why;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.why << ": " << error;
        EXPECT_EQ(out, (base::Pixels{1, 1, {7}})) << c.why << ": the pixels are left as they were";
    }
    std::string huge(base::kMaxBmpBytes + 1, '\0');
    std::string error;
    base::Pixels out;
    EXPECT_FALSE(base::decodeBmp(huge, out, &error));
    EXPECT_NE(error.find("larger than 100 MiB"), std::string::npos) << error;
}

TEST(Bmp, nothingIsWrittenForPixelsBeyondTheBudgets) {
    EXPECT_TRUE(base::encodeBmp({}).empty()) << "no pixels";
    EXPECT_TRUE(base::encodeBmp(base::Pixels{2, 2, {1, 2, 3}}).empty()) << "fewer pixels than width × height";
    EXPECT_TRUE(base::encodeBmp(
                    base::Pixels{base::kMaxBmpSide + 1, 1, std::vector<std::uint32_t>(base::kMaxBmpSide + 1)})
                    .empty())
        << "wider than a bitmap may be";
}

} // namespace
