"""Finding libpictarix and declaring its C functions for ctypes."""
from __future__ import annotations

import ctypes
import os
import struct

TYPE_CHECKING = False  # typing is imported by type checkers only: it costs a listing's time
if TYPE_CHECKING:
    from typing import Iterator, List, Optional

OK = 0
END = 1
STOPPED = 2
NO_ICON = 3
ERROR = -1
INVALID = -2
NO_MEMORY = -3

ALL = 1
CURSORS = 2

SONAME = "libpictarix.so.0"


class EntryInfo(ctypes.Structure):
    _fields_ = [
        ("file", ctypes.c_char_p),
        ("caption", ctypes.c_char_p),
        ("kind", ctypes.c_int),
        ("image_count", ctypes.c_int),
    ]


class ImageInfo(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("bits", ctypes.c_int),
        ("is_png", ctypes.c_int),
        ("stored_width", ctypes.c_int),
        ("stored_height", ctypes.c_int),
        ("stored_colors", ctypes.c_int),
        ("stored_planes", ctypes.c_int),
        ("stored_bits", ctypes.c_int),
        ("stored_bytes", ctypes.c_ulong),
        ("has_hotspot", ctypes.c_int),
        ("hotspot_x", ctypes.c_int),
        ("hotspot_y", ctypes.c_int),
    ]


# ImageInfo as plain values, read many at once with struct (its fields in order, padded as C
# pads them).
IMAGE_INFO_FORMAT = "@9iL3i"
IMAGE_INFO_FORMAT += "x" * (ctypes.sizeof(ImageInfo) - struct.calcsize(IMAGE_INFO_FORMAT))


def _candidates() -> Iterator[str]:
    """Where the library is looked for, in order (the system's search, which runs programs,
    only when nothing else was found)."""
    named = os.environ.get("PICTARIX_LIBRARY")
    if named:
        yield named
    here = os.path.dirname(os.path.realpath(__file__))
    yield from (os.path.join(here, name) for name in sorted(os.listdir(here))
                if name.startswith("libpictarix.so"))
    try:
        from ._installed import LIBRARY  # written by cmake --install

        yield LIBRARY
    except ImportError:
        pass
    yield SONAME
    import ctypes.util

    system = ctypes.util.find_library("pictarix")
    if system:
        yield system


def _load() -> ctypes.CDLL:
    failures: List[str] = []
    for candidate in _candidates():
        try:
            return ctypes.CDLL(candidate)
        except OSError as error:
            failures.append(f"{candidate}: {error}")
    raise ImportError("libpictarix cannot be loaded (set PICTARIX_LIBRARY to its path): "
                      + "; ".join(failures))


def _declare(lib: ctypes.CDLL) -> None:
    harvest = ctypes.c_void_p
    entry = ctypes.c_void_p
    buffer = ctypes.POINTER(ctypes.c_ubyte)
    c_int_p = ctypes.POINTER(ctypes.c_int)
    size_p = ctypes.POINTER(ctypes.c_size_t)
    table = {
        "pictarix_version": (ctypes.c_char_p, []),
        "pictarix_open": (ctypes.c_int, [ctypes.c_char_p, ctypes.c_uint,
                                         ctypes.POINTER(harvest)]),
        "pictarix_next": (ctypes.c_int, [harvest, ctypes.POINTER(entry)]),
        "pictarix_stop": (ctypes.c_int, [harvest]),
        "pictarix_counts": (ctypes.c_int, [harvest, c_int_p, c_int_p]),
        "pictarix_harvest_message": (ctypes.c_char_p, [harvest]),
        "pictarix_close": (None, [harvest]),
        "pictarix_entry_get_info": (ctypes.c_int, [entry, ctypes.POINTER(EntryInfo)]),
        "pictarix_image_get_info": (ctypes.c_int, [entry, ctypes.c_int,
                                                   ctypes.POINTER(ImageInfo)]),
        "pictarix_images_get_info": (ctypes.c_int, [entry, ctypes.c_int, ctypes.c_int,
                                                     ctypes.POINTER(ImageInfo)]),
        "pictarix_image_rgba": (ctypes.c_int, [entry, ctypes.c_int, c_int_p, c_int_p,
                                               ctypes.POINTER(buffer), size_p]),
        "pictarix_image_png": (ctypes.c_int, [entry, ctypes.c_int, ctypes.POINTER(buffer),
                                              size_p]),
        "pictarix_pick_image": (ctypes.c_int, [entry, ctypes.c_int, c_int_p]),
        "pictarix_largest_image": (ctypes.c_int, [entry, c_int_p]),
        "pictarix_entry_message": (ctypes.c_char_p, [entry]),
        "pictarix_entry_free": (None, [entry]),
        "pictarix_thumbnail_png": (ctypes.c_int, [ctypes.c_char_p, ctypes.c_int,
                                                  ctypes.POINTER(buffer), size_p,
                                                  ctypes.POINTER(ctypes.c_void_p)]),
        "pictarix_free": (None, [ctypes.c_void_p]),
    }
    for name, (restype, argtypes) in table.items():
        function = getattr(lib, name)
        function.restype = restype
        function.argtypes = argtypes


def take_bytes(lib: ctypes.CDLL, data: "ctypes._Pointer", size: int) -> bytes:
    """Copies a buffer the library handed out and frees it."""
    try:
        return ctypes.string_at(data, size)
    finally:
        lib.pictarix_free(data)


def take_text(lib: ctypes.CDLL, text: Optional[int]) -> str:
    """Decodes a message the library handed out and frees it."""
    if not text:
        return ""
    try:
        return ctypes.string_at(text).decode("utf-8", "replace")
    finally:
        lib.pictarix_free(text)


lib = _load()
_declare(lib)
