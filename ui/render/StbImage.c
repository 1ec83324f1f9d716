/* The image decoder, compiled once for the framework. Only its memory interface is used. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#include "stb_image.h"
