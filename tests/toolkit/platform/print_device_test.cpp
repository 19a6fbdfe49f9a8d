// The PDF print device: pages, Windows-1252 text read back by pdftotext, the
// cross-reference table, paper sizes, images and the isotropic mapping.
#include "toolkit/platform/print_device.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

using plat::PrintDevice;

// Runs a poppler tool on the file and gives its standard output.
std::string Poppler(const std::string& tool, const std::string& args, const std::string& pdf,
                    const scratch::ScratchFolder& dir) {
    std::string out = dir / "tool.out";
    std::string cmd = tool + " " + args + " '" + pdf + "' " + (tool == "pdftotext" ? "'" + out + "'" : "> '" + out + "'");
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return scratch::ScratchFolder::read(out);
}

TEST(PrintDevice, TextPagesReadBackWithHalfTabAndEscapes) {
    scratch::ScratchFolder dir;
    PrintDevice dev(plat::PaperNamed("a4"));
    ASSERT_TRUE(dev.startDocument("WOKU print job"));
    dev.selectFont(plat::PrintFont{plat::PrintFace::Courier, false, false, 50});
    int h = dev.textHeight();
    ASSERT_TRUE(dev.startPage());
    for (int i = 1; i <= 61; ++i) {
        if (i == 61) {
            ASSERT_TRUE(dev.endPage());
            ASSERT_TRUE(dev.startPage());
        }
        std::string row = "Row " + std::to_string(i) + " 3\xBD\tpts (a\\b)";
        dev.textOut(0, ((i - 1) % 60) * h, row);
    }
    ASSERT_TRUE(dev.endDocument());
    EXPECT_EQ(dev.pageCount(), 2);
    std::string pdf = dir.write("text.pdf", dev.pdf());

    std::string page1 = Poppler("pdftotext", "-layout -f 1 -l 1", pdf, dir);
    std::string page2 = Poppler("pdftotext", "-layout -f 2 -l 2", pdf, dir);
    EXPECT_NE(page1.find("Row 1 3\xC2\xBD"), std::string::npos) << page1;
    EXPECT_NE(page1.find("Row 60 "), std::string::npos);
    EXPECT_EQ(page1.find("Row 61 "), std::string::npos);
    EXPECT_NE(page2.find("Row 61 3\xC2\xBD"), std::string::npos) << page2;
    EXPECT_NE(page2.find("(a\\b)"), std::string::npos) << page2;
    // The tab moved "pts" to the stop of column 16: 16 Courier cells of 24
    // pixels, after the 50 pixels of the unprintable edge.
    std::size_t tabbed = dev.pdf().rfind("Tf 104.16 ");
    ASSERT_NE(tabbed, std::string::npos);
    EXPECT_EQ(dev.pdf().substr(dev.pdf().find(" Td ", tabbed), 10), " Td (pts \\") << dev.pdf().substr(tabbed, 40);

    std::string info = Poppler("pdfinfo", "", pdf, dir);
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("595.2 x 841.92"), std::string::npos) << info;
    EXPECT_NE(info.find("WOKU print job"), std::string::npos) << info;
}

TEST(PrintDevice, CrossReferencePointsAtEveryObject) {
    PrintDevice dev(plat::PaperNamed("letter"));
    dev.startDocument("t");
    dev.startPage();
    dev.rectangle(100, 100, 500, 300);
    dev.rectangle(100, 400, 500, 600, 200);
    dev.line(0, 0, 2550, 3300);
    dev.endDocument();
    const std::string& pdf = dev.pdf();
    std::size_t startxref = pdf.rfind("startxref\n");
    ASSERT_NE(startxref, std::string::npos);
    std::size_t xref = std::stoul(pdf.substr(startxref + 10));
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    std::istringstream table(pdf.substr(xref + 5));
    int first = -1, count = 0;
    table >> first >> count;
    EXPECT_EQ(first, 0);
    ASSERT_GT(count, 3);
    std::string line;
    std::getline(table, line);
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(std::getline(table, line));
        ASSERT_EQ(line.size(), 19u) << line; // 20 bytes with the newline
        if (i == 0) continue;
        std::size_t offset = std::stoul(line.substr(0, 10));
        EXPECT_EQ(pdf.compare(offset, std::to_string(i).size() + 6, std::to_string(i) + " 0 obj"), 0) << i;
    }
    EXPECT_NE(pdf.find("/MediaBox [0 0 612.00 792.00]"), std::string::npos);
    EXPECT_NE(pdf.find(" re S\n"), std::string::npos);
    EXPECT_NE(pdf.find(" l S\n"), std::string::npos);
}

TEST(PrintDevice, PaperFromSystemFileAndCallsOutOfOrder) {
    scratch::ScratchFolder dir;
    EXPECT_EQ(plat::SystemPaper(dir / "missing").name, "a4");
    EXPECT_EQ(plat::SystemPaper(dir.write("p1", "# paper\n\n  Letter \n")).name, "letter");
    EXPECT_EQ(plat::SystemPaper(dir.write("p2", "tabloid\n")).name, "a4");
    plat::PaperSize a4 = plat::SystemPaper(dir.write("p3", "a4\r\n"));
    EXPECT_EQ(a4.widthPixels, 2480);
    EXPECT_EQ(a4.heightPixels, 3508);

    PrintDevice dev(a4);
    // The page a printer offers is the sheet less its unprintable edge.
    EXPECT_EQ(dev.pageWidth(), 2380);
    EXPECT_EQ(dev.pageHeight(), 3408);
    EXPECT_EQ(dev.pageWidthMm(), 202);
    EXPECT_EQ(dev.pageHeightMm(), 289);
    EXPECT_FALSE(dev.startPage());
    EXPECT_FALSE(dev.endDocument());
    EXPECT_TRUE(dev.startDocument("x"));
    EXPECT_FALSE(dev.startDocument("y"));
    EXPECT_FALSE(dev.endPage());
    dev.textOut(0, 0, "lost"); // outside a page: nothing
    EXPECT_TRUE(dev.startPage());
    EXPECT_FALSE(dev.startPage());
    EXPECT_TRUE(dev.endDocument()); // ends the open page
    EXPECT_EQ(dev.pageCount(), 1);
    EXPECT_EQ(dev.pdf().find("lost"), std::string::npos);
}

TEST(PrintDevice, WidthsFollowTheFace) {
    PrintDevice dev(plat::PaperNamed("a4"));
    dev.selectFont(plat::PrintFont{plat::PrintFace::Courier, false, false, 50});
    EXPECT_EQ(dev.textWidth("iiii"), dev.textWidth("WWWW"));
    EXPECT_NEAR(dev.textWidth("WWWWWWWWWW"), 240, 2); // 600/1000 of a 40-pixel em
    dev.selectFont(plat::PrintFont{plat::PrintFace::Helvetica, false, false, 50});
    EXPECT_LT(dev.textWidth("iiii"), dev.textWidth("WWWW"));
    EXPECT_NEAR(dev.textWidth("WWWWWWWWWW"), 378, 6); // W is 944/1000 in Helvetica
    int plain = dev.textWidth("Round");
    dev.selectFont(plat::PrintFont{plat::PrintFace::Helvetica, true, false, 50});
    EXPECT_GT(dev.textWidth("Round"), plain);
    int bold = dev.textWidth("Round");
    dev.setIsotropicMapping(500, 500, 1000, 1000);
    EXPECT_NEAR(dev.textWidth("Round") * 2, bold, 1);
    EXPECT_EQ(dev.textHeight(), 25); // logical units shrink as the scale grows
}

TEST(PrintDevice, ImageIsCompressedTopRowFirstAndMappingScales) {
    // 2 x 2, 24 bits, bottom row first in memory: bottom blue, white; top red, green.
    const std::uint8_t pixels[16] = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    plat::Dib dib;
    dib.width = 2;
    dib.height = 2;
    dib.bitsPerPixel = 24;
    dib.pixels = pixels;
    dib.pixelBytes = sizeof pixels;

    PrintDevice dev(plat::PaperNamed("a4"));
    dev.startDocument("WOKU print image job");
    dev.startPage();
    dev.setIsotropicMapping(1000, 500, 2480, 3508);
    EXPECT_DOUBLE_EQ(dev.scale(), 2.48);
    EXPECT_EQ(dev.toDeviceX(1000), 2480);
    ASSERT_TRUE(dev.drawImage(dib, 0, 0, 1000, 1000));
    plat::Dib bad = dib;
    bad.pixelBytes = 3;
    std::string error;
    EXPECT_FALSE(dev.drawImage(bad, 0, 0, 10, 10, &error));
    EXPECT_FALSE(error.empty());
    // Coordinates far off the page are kept inside int, not overflowed.
    dev.textOut(INT_MAX - 5, INT_MAX, "far\t\tfar");
    EXPECT_EQ(dev.toDeviceY(INT_MAX), 1000000000);
    EXPECT_TRUE(dev.drawImage(dib, INT_MAX, INT_MIN, INT_MAX, INT_MAX));
    dev.setIsotropicMapping(0, 500, 2480, 3508);
    EXPECT_DOUBLE_EQ(dev.scale(), 1.0);
    dev.endDocument();

    const std::string& pdf = dev.pdf();
    EXPECT_NE(pdf.find("q 595.20 0 0 595.20 12.00 "), std::string::npos)
        << "drawn at the mapped size, inside the sheet's unprintable edge";
    EXPECT_NE(pdf.find("/Im1 Do"), std::string::npos);
    std::size_t at = pdf.find("/Subtype /Image /Width 2 /Height 2");
    ASSERT_NE(at, std::string::npos);
    std::size_t len = std::stoul(pdf.substr(pdf.find("/Length ", at) + 8));
    std::size_t data = pdf.find("stream\n", at) + 7;
    unsigned char rgb[12] = {};
    uLongf size = sizeof rgb;
    ASSERT_EQ(uncompress(rgb, &size, reinterpret_cast<const Bytef*>(pdf.data() + data), len), Z_OK);
    const unsigned char want[12] = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(size, sizeof want);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(rgb), 12), std::string(reinterpret_cast<const char*>(want), 12));
}

} // namespace
