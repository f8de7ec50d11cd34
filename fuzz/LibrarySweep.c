/* Drives libpictarix through its C interface over every file under the given folders (the
 * corpora after a fuzzing run): each entry's images as pixels and as PNG, the image picked for
 * a thumbnail, and each file's thumbnail. Under the sanitizers, any fault ends the run. */
#include <pictarix.h>
#include <stdio.h>
#include <string.h>

static void sweep_entry(pictarix_entry* entry) {
  pictarix_entry_info info;
  if (pictarix_entry_get_info(entry, &info) != PICTARIX_OK) return;
  for (int i = 0; i < info.image_count; ++i) {
    pictarix_image_info image;
    pictarix_image_get_info(entry, i, &image);
    unsigned char* bytes = NULL;
    size_t size = 0;
    int width = 0, height = 0;
    if (pictarix_image_rgba(entry, i, &width, &height, &bytes, &size) == PICTARIX_OK)
      pictarix_free(bytes);
    if (pictarix_image_png(entry, i, &bytes, &size) == PICTARIX_OK) pictarix_free(bytes);
  }
  int picked = 0;
  pictarix_pick_image(entry, 48, &picked);
}

static void sweep_thumbnail(const char* file) {
  unsigned char* png = NULL;
  size_t size = 0;
  char* message = NULL;
  if (pictarix_thumbnail_png(file, 96, &png, &size, &message) == PICTARIX_OK) pictarix_free(png);
  pictarix_free(message);
}

int main(int argc, char** argv) {
  int entries = 0;
  for (int a = 1; a < argc; ++a) {
    pictarix_harvest* harvest = NULL;
    if (pictarix_open(argv[a], PICTARIX_ALL | PICTARIX_CURSORS, &harvest) != PICTARIX_OK) {
      fprintf(stderr, "%s: %s\n", argv[a], pictarix_harvest_message(harvest));
      pictarix_close(harvest);
      return 1;
    }
    char last[4096] = "";
    pictarix_entry* entry = NULL;
    while (pictarix_next(harvest, &entry) == PICTARIX_OK) {
      pictarix_entry_info info;
      pictarix_entry_get_info(entry, &info);
      if (strcmp(info.file, last) != 0) {
        snprintf(last, sizeof last, "%s", info.file);
        sweep_thumbnail(last);
      }
      sweep_entry(entry);
      pictarix_entry_free(entry);
      ++entries;
    }
    int files = 0, unreadable = 0;
    pictarix_counts(harvest, &files, &unreadable);
    printf("%s: %d files, %d entries, %d unreadable\n", argv[a], files, entries, unreadable);
    pictarix_close(harvest);
  }
  return 0;
}
