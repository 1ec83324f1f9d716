/* The framework's image decoder (StbImage.c): PNG, JPEG and BMP from memory. */
#pragma once

#include <stddef.h>

/* Images wider or taller than this are refused by the decoder itself. */
#define SKIN_IMAGE_MAX_SIDE 16384

#ifdef __cplusplus
extern "C" {
#endif

/* Reads the width and height from the header alone, allocating nothing of the image;
   0 when the data is no image of a format the decoder takes. */
int SkinImageInfo(const unsigned char* data, int size, int* width, int* height);

/* Decodes into 8-bit RGBA rows, top row first, holding at most `allowance` bytes of
   decoder memory at any time (the result included); null on any failure. The result is
   released with SkinImageFree. */
unsigned char* SkinImageLoad(const unsigned char* data, int size, int* width, int* height,
                             size_t allowance);

/* Releases what SkinImageLoad returned; null is ignored. */
void SkinImageFree(void* pixels);

#ifdef __cplusplus
}
#endif
