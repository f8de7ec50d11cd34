/* libpictarix: the icons of Windows programs, libraries, icon libraries, icon and cursor files,
 * read by the same core as pictarix-cli and pictarix-thumbnailer.
 *
 * Every call returns a status: PICTARIX_OK, or another value below. A harvest and an entry are
 * opaque handles; after a failure, the handle's message says what went wrong in plain English
 * (pictarix_harvest_message, pictarix_entry_message). Buffers the library hands out are freed
 * with pictarix_free. A handle is used by one thread at a time; only pictarix_stop may be
 * called from another thread while the harvest is in use. */
#ifndef PICTARIX_H
#define PICTARIX_H

#include <stddef.h>

#if defined(PICTARIX_BUILDING_LIBRARY)
#define PICTARIX_API __attribute__((visibility("default")))
#else
#define PICTARIX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Statuses. */
#define PICTARIX_OK 0
#define PICTARIX_END 1        /* pictarix_next: every entry has been taken */
#define PICTARIX_STOPPED 2    /* pictarix_next: the harvest was stopped */
#define PICTARIX_NO_ICON 3    /* pictarix_thumbnail_png: the file holds no icon */
#define PICTARIX_ERROR (-1)   /* the call failed; the message says why */
#define PICTARIX_INVALID (-2) /* a null handle or pointer, or a value out of range */
#define PICTARIX_NO_MEMORY (-3)

/* Options of pictarix_open. */
#define PICTARIX_ALL 1u     /* also icons with images but none of 32x32 */
#define PICTARIX_CURSORS 2u /* also cursor files in folders and the cursors of modules */

/* What an entry is. */
#define PICTARIX_KIND_ICON 0
#define PICTARIX_KIND_CURSOR 1
#define PICTARIX_KIND_ANIMATED 2

typedef struct pictarix_harvest pictarix_harvest;
typedef struct pictarix_entry pictarix_entry;

typedef struct pictarix_entry_info {
  const char* file;    /* the file the icon came from; valid while the entry lives */
  const char* caption; /* the icon's name, UTF-8; valid while the entry lives */
  int kind;            /* PICTARIX_KIND_... */
  int image_count;
} pictarix_entry_info;

typedef struct pictarix_image_info {
  int width; /* the size in pixels the image's data states (a PNG's header, a bitmap's) */
  int height;
  int bits;   /* real depth in bits per pixel (a PNG: IHDR depth x channels), as export names it */
  int is_png; /* 1 when the image is stored as PNG, 0 for a bitmap */
  /* The fields of the image's directory record as stored. */
  int stored_width;
  int stored_height;
  int stored_colors;
  int stored_planes;
  int stored_bits;
  unsigned long stored_bytes;
  int has_hotspot; /* a cursor's image: the pixel it points with */
  int hotspot_x;
  int hotspot_y;
} pictarix_image_info;

/* The library's version, "major.minor.patch". */
PICTARIX_API const char* pictarix_version(void);

/* Starts a harvest of `path`: an icon, cursor or module file, or a folder walked as a tree.
 * `options` combines PICTARIX_ALL and PICTARIX_CURSORS. Nothing is read until pictarix_next.
 * *harvest is set to a handle unless out of memory, also on failure (the path does not exist),
 * when it holds only the message; close it with pictarix_close either way. */
PICTARIX_API int pictarix_open(const char* path, unsigned options, pictarix_harvest** harvest);
/* The next entry, in the order pictarix-cli lists them: PICTARIX_OK with *entry set (free it
 * with pictarix_entry_free; it outlives the harvest), PICTARIX_END when there are no more, or
 * PICTARIX_STOPPED. PICTARIX_ERROR, after the entries read, when the path itself could not be
 * read. Files of a folder that cannot be read are counted, not failed. */
PICTARIX_API int pictarix_next(pictarix_harvest* harvest, pictarix_entry** entry);
/* Asks the harvest to stop: a pictarix_next running on another thread returns soon after with
 * PICTARIX_STOPPED. Safe to call from any thread while the handle is open. */
PICTARIX_API int pictarix_stop(pictarix_harvest* harvest);
/* Files read so far, and files (of a folder) that could not be read. Either pointer may be null. */
PICTARIX_API int pictarix_counts(const pictarix_harvest* harvest, int* files, int* unreadable);
/* The message of the handle's last failure; "" when none. Valid until the next call on it. */
PICTARIX_API const char* pictarix_harvest_message(const pictarix_harvest* harvest);
/* Stops the harvest if needed and frees the handle. A null handle is ignored. */
PICTARIX_API void pictarix_close(pictarix_harvest* harvest);

PICTARIX_API int pictarix_entry_get_info(const pictarix_entry* entry, pictarix_entry_info* info);
PICTARIX_API int pictarix_image_get_info(const pictarix_entry* entry, int image,
                                         pictarix_image_info* info);
/* The information of `count` images from the first, into infos[0..count-1] (one call for an
 * entry's images, which is what an interpreted caller pays for). */
PICTARIX_API int pictarix_images_get_info(const pictarix_entry* entry, int first, int count,
                                          pictarix_image_info* infos);
/* The image's pixels at its own size: straight RGBA, 8 bits a channel, top row first;
 * *size = width * height * 4. Free *pixels with pictarix_free. */
PICTARIX_API int pictarix_image_rgba(pictarix_entry* entry, int image, int* width, int* height,
                                     unsigned char** pixels, size_t* size);
/* The bytes export writes for the image: a PNG image's stored bytes unchanged, any other image
 * as an RGBA PNG. Free *png with pictarix_free. */
PICTARIX_API int pictarix_image_png(pictarix_entry* entry, int image, unsigned char** png,
                                    size_t* size);
/* The image the thumbnailer draws at `size`: the smallest whose longer side reaches it, else the
 * largest. */
PICTARIX_API int pictarix_pick_image(const pictarix_entry* entry, int size, int* image);
/* The image with the most pixels (ties: the deeper, then the later), as export --largest. */
PICTARIX_API int pictarix_largest_image(const pictarix_entry* entry, int* image);
PICTARIX_API const char* pictarix_entry_message(const pictarix_entry* entry);
PICTARIX_API void pictarix_entry_free(pictarix_entry* entry);

/* The thumbnailer's picture of `path` at `size` (1 to 4096) as PNG bytes, free with
 * pictarix_free. PICTARIX_NO_ICON when the file holds no icon. On any status but PICTARIX_OK,
 * *message (when `message` is not null) is set to a text saying why, free with pictarix_free. */
PICTARIX_API int pictarix_thumbnail_png(const char* path, int size, unsigned char** png,
                                        size_t* png_size, char** message);

PICTARIX_API void pictarix_free(void* buffer);

#ifdef __cplusplus
}
#endif

#endif /* PICTARIX_H */
