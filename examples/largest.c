/* Lists the icons of a file or folder and writes the largest image of the first one as
 * largest.png into the current folder.
 *
 *   cc largest.c $(pkg-config --cflags --libs pictarix) -o largest
 *   ./largest /path/to/program.exe
 */
#include <pictarix.h>
#include <stdio.h>

static int fail(const char* what, const char* message) {
  fprintf(stderr, "largest: %s: %s\n", what, message);
  return 1;
}

/* Writes the entry's largest image, as exporting it writes it. */
static int write_largest(pictarix_entry* entry) {
  int image = 0;
  unsigned char* png = NULL;
  size_t size = 0;
  if (pictarix_largest_image(entry, &image) != PICTARIX_OK) return fail("largest", "no images");
  if (pictarix_image_png(entry, image, &png, &size) != PICTARIX_OK)
    return fail("largest", pictarix_entry_message(entry));
  FILE* out = fopen("largest.png", "wb");
  int written = out && fwrite(png, 1, size, out) == size;
  if (out && fclose(out) != 0) written = 0;
  pictarix_free(png);
  if (!written) return fail("largest.png", "cannot be written");
  printf("wrote largest.png: image %d, %zu bytes\n", image, size);
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: largest PATH\n");
    return 2;
  }
  pictarix_harvest* harvest = NULL;
  if (pictarix_open(argv[1], 0, &harvest) != PICTARIX_OK) {
    int result = fail(argv[1], harvest ? pictarix_harvest_message(harvest) : "out of memory");
    pictarix_close(harvest);
    return result;
  }
  int result = 0;
  int index = 0;
  pictarix_entry* entry = NULL;
  int status;
  while ((status = pictarix_next(harvest, &entry)) == PICTARIX_OK) {
    pictarix_entry_info info;
    pictarix_entry_get_info(entry, &info);
    printf("%d\t%s\t%s\t%d images\n", index, info.file, info.caption, info.image_count);
    if (index == 0) result = write_largest(entry);
    pictarix_entry_free(entry);
    ++index;
  }
  if (status == PICTARIX_ERROR) result = fail(argv[1], pictarix_harvest_message(harvest));
  if (index == 0 && result == 0) result = fail(argv[1], "no icons");
  pictarix_close(harvest);
  return result;
}
