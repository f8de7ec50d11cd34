"""The Python package against the programs it stands for: pictarix-cli and the thumbnailer.

Run with PICTARIX_LIBRARY, PICTARIX_CLI and PICTARIX_THUMBNAILER set to a build's files."""
import ctypes
import json
import os
import struct
import subprocess
import threading
import zlib

import pytest

import pictarix


def png_bytes(width, height, rgba):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\0" + rgba * width for _ in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


def bitmap_bytes(side, bgra):
    header = struct.pack("<IiiHHIIiiII", 40, side, side * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = ((side + 31) // 32) * 4
    return header + bgra * side * side + b"\0" * mask_row * side


def icon_file(images, cursor_hotspot=None):
    """An icon file of (width byte, bits, data) images; a cursor file with a hotspot."""
    out = struct.pack("<HHH", 0, 2 if cursor_hotspot else 1, len(images))
    offset = 6 + 16 * len(images)
    for width, bits, data in images:
        planes, bits = cursor_hotspot or (1, bits)
        out += struct.pack("<BBBBHHII", width, width, 0, 0, planes, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


@pytest.fixture
def icons(tmp_path):
    big = png_bytes(300, 300, b"\x10\x20\x30\x80")
    (tmp_path / "a.ico").write_bytes(icon_file([(32, 32, bitmap_bytes(32, b"\x01\x02\x03\xff")),
                                                (0, 32, big)]))
    (tmp_path / "b.ico").write_bytes(icon_file([(32, 32, bitmap_bytes(32, b"\x09\x08\x07\xff"))]))
    (tmp_path / "none.txt").write_bytes(b"no icon here")
    return tmp_path, big


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def test_entries_fields_and_pictures(icons):
    folder, big = icons
    found = list(pictarix.entries(folder / "a.ico"))
    assert len(found) == 1
    entry = found[0]
    assert (entry.file, entry.kind) == (str(folder / "a.ico"), "icon")
    shapes = sorted((i.width, i.height, i.bits, i.is_png, i.stored_width) for i in entry.images)
    assert shapes == [(32, 32, 32, False, 32), (300, 300, 32, True, 0)]
    png = next(i for i in entry.images if i.is_png)
    assert png.png() == big  # stored bytes unchanged
    assert entry.largest() is png and entry.pick(16).width == 32
    bitmap = next(i for i in entry.images if not i.is_png)
    pixels = bitmap.rgba()
    assert len(pixels) == 32 * 32 * 4 and pixels[:4] == b"\x03\x02\x01\xff"
    assert bitmap.png().startswith(b"\x89PNG")


def test_folder_matches_cli_listing(icons):
    folder, _ = icons
    listed = json.loads(run(os.environ["PICTARIX_CLI"], "list", "--all", "--json", str(folder)))
    ours = list(pictarix.entries(folder, all=True))
    assert [(e.file, e.caption, len(e.images)) for e in ours] == \
        [(e["file"], e["name"], len(e["images"])) for e in listed]


def test_best_png_is_the_thumbnailers_picture(icons):
    folder, _ = icons
    for size in (16, 256):
        out = folder / f"thumb{size}.png"
        run(os.environ["PICTARIX_THUMBNAILER"], "-s", str(size), str(folder / "a.ico"), str(out))
        assert pictarix.best_png(folder / "a.ico", size) == out.read_bytes()
    assert pictarix.best_png(folder / "none.txt") is None
    with pytest.raises(ValueError):
        pictarix.best_png(folder / "a.ico", 0)


def test_cursors_only_when_asked(icons):
    folder, _ = icons
    (folder / "c.cur").write_bytes(icon_file([(32, 32, bitmap_bytes(32, b"\0\0\0\xff"))],
                                             cursor_hotspot=(5, 7)))
    assert [e.kind for e in pictarix.entries(folder)] == ["icon", "icon"]
    cursors = [e for e in pictarix.entries(folder, cursors=True) if e.kind == "cursor"]
    assert [i.hotspot for e in cursors for i in e.images] == [(5, 7)]


def test_errors_and_stop(icons):
    folder, _ = icons
    with pytest.raises(pictarix.Error, match="No such file"):
        list(pictarix.entries(folder / "missing.ico"))
    with pictarix.Harvest(folder) as harvest:
        taken = iter(harvest)
        first = next(taken)
        stopper = threading.Thread(target=harvest.stop)
        stopper.start()
        stopper.join()
        assert list(taken) == [] and first.caption


def test_c_calls_refuse_bad_arguments(icons):
    """A C caller's null handles, out-of-range indexes and sizes get PICTARIX_INVALID, never a
    crash; entries stay usable after their harvest is closed."""
    folder, _ = icons
    lib, invalid = pictarix._native.lib, pictarix._native.INVALID
    out = ctypes.c_void_p()
    assert lib.pictarix_open(None, 0, ctypes.byref(out)) == invalid and not out.value
    assert lib.pictarix_next(None, ctypes.byref(out)) == invalid
    assert lib.pictarix_stop(None) == invalid
    with pictarix.Harvest(folder / "a.ico") as harvest:
        entry = next(iter(harvest))
    handle = entry._handle.pointer
    infos = (pictarix._native.ImageInfo * 2)()
    for first, count in ((-1, 1), (0, -1), (2**31 - 1, 2), (1, 2)):
        assert lib.pictarix_images_get_info(handle, first, count, infos) == invalid
    index = ctypes.c_int()
    assert lib.pictarix_pick_image(handle, 0, ctypes.byref(index)) == invalid
    with pytest.raises(pictarix.Error):
        pictarix.Image(entry._handle, 2, (0,) * 13).png()
    assert entry.largest().png().startswith(b"\x89PNG")


def test_c_example_writes_what_export_writes(icons):
    folder, _ = icons
    (folder / "out").mkdir()
    run(os.environ["PICTARIX_CLI"], "export", "--largest", "--entry", "0", "--output",
        str(folder / "out"), str(folder / "a.ico"))
    (exported,) = (folder / "out").iterdir()
    listing = subprocess.run([os.environ["PICTARIX_EXAMPLE"], str(folder / "a.ico")], cwd=folder,
                             check=True, capture_output=True, text=True).stdout
    assert listing.startswith("0\t" + str(folder / "a.ico"))
    assert (folder / "largest.png").read_bytes() == exported.read_bytes()
