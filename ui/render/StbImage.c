/* The image decoder, compiled once for the framework. Only its memory interface is used.
 *
 * Formats: PNG (skin art with alpha, lossless), JPEG (photographic backgrounds) and BMP
 * (the Windows bitmap, made transparent with a mask colour). The decoder's other formats
 * (GIF, TGA, PSD, HDR, PIC, PNM) stay out: a skin needs none of them, and any image name
 * reaches whatever is built in, whatever its extension.
 *
 * Every block the decoder allocates is counted, so a decode can be held to an allowance:
 * a stream that inflates to far more than its image needs fails instead of taking the
 * memory it asks for. */
#include "render/StbImage.h"

#include <stdint.h>
#include <stdlib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_MAX_DIMENSIONS SKIN_IMAGE_MAX_SIDE
#define STBI_MALLOC(size) SkinImageAllocate(size)
#define STBI_REALLOC(block, size) SkinImageReallocate(block, size)
#define STBI_FREE(block) SkinImageFree(block)

static void* SkinImageAllocate(size_t size);
static void* SkinImageReallocate(void* block, size_t size);

#include "stb_image.h"

#if defined(_MSC_VER)
#define SKIN_THREAD_LOCAL __declspec(thread)
#else
#define SKIN_THREAD_LOCAL _Thread_local
#endif

/* Bytes the decoder holds on this thread, and how many it may hold during a budgeted
   decode (SIZE_MAX outside one). */
static SKIN_THREAD_LOCAL size_t g_held = 0;
static SKIN_THREAD_LOCAL size_t g_limit = SIZE_MAX;

/* Each block starts with its size; 16 bytes keep the alignment malloc gives. */
#define SKIN_BLOCK_HEADER 16

static int SkinImageMayTake(size_t size) {
    return size <= SIZE_MAX - SKIN_BLOCK_HEADER && g_held <= g_limit && size <= g_limit - g_held;
}

static void SkinImageRelease(size_t size) {
    /* A block freed on another thread than the one that made it leaves this count high
       at worst, never below zero. */
    g_held = size <= g_held ? g_held - size : 0;
}

static void* SkinImageAllocate(size_t size) {
    unsigned char* block;
    if (!SkinImageMayTake(size)) return NULL;
    block = (unsigned char*)malloc(size + SKIN_BLOCK_HEADER);
    if (block == NULL) return NULL;
    *(size_t*)block = size;
    g_held += size;
    return block + SKIN_BLOCK_HEADER;
}

void SkinImageFree(void* data) {
    unsigned char* block;
    if (data == NULL) return;
    block = (unsigned char*)data - SKIN_BLOCK_HEADER;
    SkinImageRelease(*(size_t*)block);
    free(block);
}

static void* SkinImageReallocate(void* data, size_t size) {
    unsigned char* block;
    unsigned char* moved;
    size_t old;
    if (data == NULL) return SkinImageAllocate(size);
    block = (unsigned char*)data - SKIN_BLOCK_HEADER;
    old = *(size_t*)block;
    /* Counted as if old and new were held at once, as they may be while it moves. */
    if (size > old && !SkinImageMayTake(size)) return NULL;
    moved = (unsigned char*)realloc(block, size + SKIN_BLOCK_HEADER);
    if (moved == NULL) return NULL;
    SkinImageRelease(old);
    g_held += size;
    *(size_t*)moved = size;
    return moved + SKIN_BLOCK_HEADER;
}

int SkinImageInfo(const unsigned char* data, int size, int* width, int* height) {
    int components = 0;
    return stbi_info_from_memory(data, size, width, height, &components);
}

unsigned char* SkinImageLoad(const unsigned char* data, int size, int* width, int* height,
                             size_t allowance) {
    unsigned char* pixels;
    int components = 0;
    const size_t savedLimit = g_limit;
    g_limit = g_held <= SIZE_MAX - allowance ? g_held + allowance : SIZE_MAX;
    pixels = stbi_load_from_memory(data, size, width, height, &components, 4);
    g_limit = savedLimit;
    return pixels;
}
