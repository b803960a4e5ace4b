#include <fitsio.h>

#include "optics/fits_file.h"
#include "tests/optics/optics_test.h"

namespace {

// Reads keywords and pixels back through the FITS library from the bytes in memory.
struct FitsReader {
    std::string bytes;
    std::size_t size = bytes.size();
    void *data = bytes.data();
    fitsfile *file = nullptr;
    int status = 0;
    explicit FitsReader(std::string b) : bytes(std::move(b))
    {
        fits_open_memfile(&file, "psf.fits", READONLY, &data, &size, 0, nullptr, &status);
    }
    ~FitsReader() { fits_close_file(file, &status); }
    void hdu(int number) { fits_movabs_hdu(file, number, nullptr, &status); }
    double number(const char *key)
    {
        double value = 0;
        fits_read_key(file, TDOUBLE, key, &value, nullptr, &status);
        return value;
    }
    std::string text(const char *key)
    {
        char value[FLEN_VALUE] = "";
        fits_read_key(file, TSTRING, key, value, nullptr, &status);
        return value;
    }
    bool has(const char *key)
    {
        char card[FLEN_CARD];
        int missing = 0;
        return fits_read_card(file, key, card, &missing) == 0;
    }
    float pixel(long axis1, long axis2)
    {
        long at[2] = {axis1, axis2};
        float value = 0;
        fits_read_pix(file, TFLOAT, at, 1, nullptr, &value, nullptr, &status);
        return value;
    }
};

using FitsFile = OpticsTest;

TEST_F(FitsFile, HoldsThePsfAndPupilWithTheOpticsInTheHeader)
{
    pillbox_input();
    do_FFT();
    const ImageQuality q = image_quality();
    std::string bytes, error;
    ASSERT_TRUE(format_fits_file(q, {{"fnumber", 5.6}, {"HasZern26", 1}}, "Orvinta 1.0.0", bytes, error)) << error;
    EXPECT_EQ(bytes.size() % 2880, 0u);
    FitsReader fits(bytes);
    ASSERT_EQ(fits.status, 0);
    // Start-up optics: 500 nm, F/5.6, a 10 mm pupil sampled over 2 x 19.5 steps.
    EXPECT_DOUBLE_EQ(fits.number("WAVELEN"), 500e-9);
    EXPECT_NEAR(fits.number("FNUMBER"), 5.6, 1e-6);
    EXPECT_DOUBLE_EQ(fits.number("DIAM"), 0.01);
    EXPECT_NEAR(fits.number("PUPILSCL"), 0.01 / 39, 1e-12);
    EXPECT_EQ(fits.text("PIXUNIT"), "um");
    EXPECT_EQ(fits.text("NORMALIZ"), "peak=100");
    EXPECT_EQ(fits.text("ORIGIN"), "Orvinta 1.0.0");
    EXPECT_NEAR(fits.number("SAMPLING"), 127.0 / 39, 1e-9);
    EXPECT_NEAR(fits.number("STREHL"), *q.strehl, 1e-12);
    EXPECT_NEAR(fits.number("XCENTROI"), xpsfcent, 1e-6);
    EXPECT_NEAR(fits.number("HIERARCH ORVINTA fnumber"), 5.6, 1e-12);
    EXPECT_EQ(fits.number("HIERARCH ORVINTA HasZern26"), 1.0);
    // Axis 1 runs along i: pixel (i, j) of each image is array[i][j].
    const struct { int hdu; float **array; const char *name; } images[] = {
        {1, m_output, ""}, {2, r_input, "PUPIL_TRANSMISSION"}, {3, phase_input, "PUPIL_PHASE"}};
    for (const auto &image : images) {
        fits.hdu(image.hdu);
        if (*image.name) {
            EXPECT_EQ(fits.text("EXTNAME"), image.name);
        }
        for (const auto &[i, j] : {std::pair{65, 65}, {60, 70}, {70, 60}, {1, 128}})
            EXPECT_EQ(fits.pixel(i, j), image.array[i][j]) << image.hdu << " " << i << "," << j;
    }
    EXPECT_EQ(fits.status, 0);
    // A dark pupil has no Strehl ratio: the keyword is left out.
    nCurrentObscuration = 1;
    LinearObscuration = 2.0f;
    pillbox_input();
    do_FFT();
    ASSERT_TRUE(format_fits_file(image_quality(), {}, "Orvinta", bytes, error));
    FitsReader dark(bytes);
    EXPECT_FALSE(dark.has("STREHL"));
    EXPECT_TRUE(dark.has("WFERMS"));
}

}  // namespace
