"""The icons of Windows programs, libraries, icon libraries, icon and cursor files.

A thin layer over libpictarix, the C library of Pictarix: the same reading as ``pictarix-cli``
(``entries``) and as ``pictarix-thumbnailer`` (``best_png``).
"""
from __future__ import annotations

import _thread
import ctypes
import os
import struct

from . import _native
from ._native import lib

TYPE_CHECKING = False  # typing is imported by type checkers only: it costs a listing's time
if TYPE_CHECKING:
    from typing import Iterator, Optional, Tuple, Union

    PathArg = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]

__all__ = ["Entry", "Error", "Harvest", "Image", "best_png", "entries", "library_version"]

_KINDS = {0: "icon", 1: "cursor", 2: "animated"}


class Error(Exception):
    """A failure of libpictarix, with its message."""


def library_version() -> str:
    """The version of the libpictarix in use."""
    return lib.pictarix_version().decode()


def _failure(status: int, message: str) -> Error:
    if status == _native.NO_MEMORY:
        return Error(message or "out of memory")
    return Error(message or f"libpictarix failed with status {status}")


class _EntryHandle:
    """Owns one entry of the library; freed when the last Entry or Image using it goes."""

    __slots__ = ("pointer", "lock")

    def __init__(self, pointer: int) -> None:
        self.pointer = pointer
        self.lock = _thread.allocate_lock()  # the library's entry keeps its last message

    def __del__(self) -> None:
        if self.pointer:
            lib.pictarix_entry_free(self.pointer)
            self.pointer = None

    def message(self) -> str:
        return (lib.pictarix_entry_message(self.pointer) or b"").decode("utf-8", "replace")


class Image:
    """One image of an entry: its real size and depth, and the fields of its record as stored."""

    __slots__ = ("_handle", "index", "width", "height", "bits", "is_png", "stored_width",
                 "stored_height", "stored_colors", "stored_planes", "stored_bits",
                 "stored_bytes", "hotspot")

    index: int
    width: int
    height: int
    bits: int
    is_png: bool
    stored_width: int
    stored_height: int
    stored_colors: int
    stored_planes: int
    stored_bits: int
    stored_bytes: int
    hotspot: Optional[Tuple[int, int]]

    def __init__(self, handle: _EntryHandle, index: int, fields: Tuple[int, ...]) -> None:
        # fields: an ImageInfo's, in its order.
        self._handle = handle
        self.index = index
        #: width and height: the size in pixels the image's data states.
        #: bits: the real depth in bits per pixel (a PNG: its IHDR depth x channels), as export
        #: names the image.
        #: stored_*: the fields of the image's directory record as stored.
        (self.width, self.height, self.bits, is_png, self.stored_width, self.stored_height,
         self.stored_colors, self.stored_planes, self.stored_bits, self.stored_bytes,
         has_hotspot, x, y) = fields
        self.is_png = bool(is_png)
        #: A cursor's hotspot (x, y), or None.
        self.hotspot = (x, y) if has_hotspot else None

    def __repr__(self) -> str:
        kind = "PNG" if self.is_png else "bitmap"
        return f"<Image {self.width}x{self.height} {self.bits}-bit {kind}>"

    def png(self) -> bytes:
        """The PNG file export writes for this image: a PNG image's stored bytes unchanged,
        any other image encoded as 8-bit RGBA."""
        data = ctypes.POINTER(ctypes.c_ubyte)()
        size = ctypes.c_size_t()
        with self._handle.lock:
            status = lib.pictarix_image_png(self._handle.pointer, self.index, ctypes.byref(data),
                                            ctypes.byref(size))
            if status != _native.OK:
                raise _failure(status, self._handle.message())
        return _native.take_bytes(lib, data, size.value)

    def rgba(self) -> bytes:
        """The pixels at the image's own size: straight RGBA, top row first,
        ``width * height * 4`` bytes."""
        data = ctypes.POINTER(ctypes.c_ubyte)()
        size = ctypes.c_size_t()
        width = ctypes.c_int()
        height = ctypes.c_int()
        with self._handle.lock:
            status = lib.pictarix_image_rgba(self._handle.pointer, self.index, ctypes.byref(width),
                                             ctypes.byref(height), ctypes.byref(data),
                                             ctypes.byref(size))
            if status != _native.OK:
                raise _failure(status, self._handle.message())
        return _native.take_bytes(lib, data, size.value)


class Entry:
    """One icon, cursor or animated cursor, as pictarix-cli lists it."""

    __slots__ = ("_handle", "file", "caption", "kind", "images")

    def __init__(self, pointer: int) -> None:
        self._handle = _EntryHandle(pointer)
        info = _native.EntryInfo()
        lib.pictarix_entry_get_info(pointer, ctypes.byref(info))
        #: The file the icon came from.
        self.file: str = os.fsdecode(info.file)
        #: The icon's name.
        self.caption: str = info.caption.decode("utf-8", "surrogateescape")
        #: "icon", "cursor" or "animated".
        self.kind: str = _KINDS.get(info.kind, "icon")
        count = info.image_count
        infos = (_native.ImageInfo * count)()
        if count and lib.pictarix_images_get_info(pointer, 0, count, infos) != _native.OK:
            raise Error("the entry's images cannot be read")
        handle = self._handle
        images = [Image(handle, index, fields) for index, fields in
                  enumerate(struct.iter_unpack(_native.IMAGE_INFO_FORMAT, bytes(infos)))]
        #: The images, in the order the entry keeps them.
        self.images: Tuple[Image, ...] = tuple(images)

    def __repr__(self) -> str:
        return f"<Entry {self.caption!r} of {self.file!r}, {len(self.images)} images>"

    def pick(self, size: int = 256) -> Optional[Image]:
        """The image the thumbnailer draws at ``size``: the smallest whose longer side reaches
        it, else the largest; None for an entry without images."""
        index = ctypes.c_int()
        if lib.pictarix_pick_image(self._handle.pointer, size, ctypes.byref(index)) != _native.OK:
            return None
        return self.images[index.value]

    def largest(self) -> Optional[Image]:
        """The image with the most pixels, as ``export --largest`` chooses it."""
        index = ctypes.c_int()
        if lib.pictarix_largest_image(self._handle.pointer, ctypes.byref(index)) != _native.OK:
            return None
        return self.images[index.value]


class Harvest:
    """The entries of one path (a file, or a folder walked as a tree), read as they are taken.

    ``stop()`` may be called from another thread; iteration then ends soon after."""

    def __init__(self, path: PathArg, all: bool = False, cursors: bool = False) -> None:
        options = (_native.ALL if all else 0) | (_native.CURSORS if cursors else 0)
        self._pointer = ctypes.c_void_p()
        status = lib.pictarix_open(os.fsencode(path), options, ctypes.byref(self._pointer))
        if status != _native.OK:
            message = self._message()
            self.close()
            raise _failure(status, message)

    def _message(self) -> str:
        if not self._pointer:
            return ""
        return (lib.pictarix_harvest_message(self._pointer) or b"").decode("utf-8", "replace")

    def __iter__(self) -> Iterator[Entry]:
        entry = ctypes.c_void_p()
        while self._pointer:
            status = lib.pictarix_next(self._pointer, ctypes.byref(entry))
            if status == _native.OK:
                yield Entry(entry.value)
            elif status in (_native.END, _native.STOPPED):
                return
            else:
                raise _failure(status, self._message())

    def counts(self) -> Tuple[int, int]:
        """Files read so far, and files of a folder that could not be read."""
        files = ctypes.c_int()
        unreadable = ctypes.c_int()
        if self._pointer:
            lib.pictarix_counts(self._pointer, ctypes.byref(files), ctypes.byref(unreadable))
        return files.value, unreadable.value

    def stop(self) -> None:
        """Asks the harvest to stop; safe from any thread while the harvest is open."""
        if self._pointer:
            lib.pictarix_stop(self._pointer)

    def close(self) -> None:
        if self._pointer:
            lib.pictarix_close(self._pointer)
            self._pointer = ctypes.c_void_p()

    def __enter__(self) -> "Harvest":
        return self

    def __exit__(self, *exc: object) -> None:
        self.close()

    def __del__(self) -> None:
        self.close()


def entries(*paths: PathArg, all: bool = False, cursors: bool = False) -> Iterator[Entry]:
    """The entries of each path in turn, as ``pictarix-cli list`` lists them.

    ``all`` also keeps icons without a 32x32 image; ``cursors`` also reads cursor files in
    folders and the cursors of modules. Raises Error for a path that does not exist or cannot
    be read (after the entries read from it)."""
    for path in paths:
        with Harvest(path, all=all, cursors=cursors) as harvest:
            yield from harvest


def best_png(path: PathArg, size: int = 256) -> Optional[bytes]:
    """The thumbnailer's picture of the file at ``size`` (1 to 4096) as PNG bytes, or None when
    the file has no icon."""
    data = ctypes.POINTER(ctypes.c_ubyte)()
    length = ctypes.c_size_t()
    message = ctypes.c_void_p()
    status = lib.pictarix_thumbnail_png(os.fsencode(path), size, ctypes.byref(data),
                                        ctypes.byref(length), ctypes.byref(message))
    text = _native.take_text(lib, message.value)
    if status == _native.OK:
        return _native.take_bytes(lib, data, length.value)
    if status == _native.NO_ICON:
        return None
    if status == _native.INVALID:
        raise ValueError(text or "the size must be a whole number from 1 to 4096")
    raise _failure(status, text)
