"""GNOME's thumbnail factory asks the installed pictarix-thumbnailer for thumbnails, running it
inside its bubblewrap sandbox as GNOME Files does. Installs the thumbnailer under /usr/local (the
sandbox shows only /usr) and removes it afterwards.

usage: gnome_thumbnail_factory.py BUILD_DIR FIXTURE_WRITER
Exit status 77 when this machine cannot run the sandbox or install under /usr/local."""
import fcntl
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
PREFIX = "/usr/local"
INSTALLED = [PREFIX + "/bin/pictarix-thumbnailer",
             PREFIX + "/share/thumbnailers/pictarix.thumbnailer"]


def skip(reason):
    print("skipped:", reason)
    sys.exit(SKIP)


def sandbox_runs():
    # The options GNOME's factory gives bubblewrap that a container may refuse.
    probe = ["bwrap", "--ro-bind", "/usr", "/usr", "--symlink", "usr/lib", "/lib",
             "--symlink", "usr/lib64", "/lib64", "--symlink", "usr/bin", "/bin",
             "--proc", "/proc", "--dev", "/dev", "--unshare-all", "--die-with-parent",
             "/usr/bin/true"]
    try:
        return subprocess.run(probe, capture_output=True).returncode == 0
    except OSError:
        return False


def check_thumbnail(factory, path, mime, side):
    from gi.repository import Gio
    uri = Gio.File.new_for_path(path).get_uri()
    pixbuf = factory.generate_thumbnail(uri, mime, None)
    assert (pixbuf.get_width(), pixbuf.get_height()) == (side, side), \
        f"{path}: {pixbuf.get_width()}x{pixbuf.get_height()}, not {side}x{side}"
    assert pixbuf.get_has_alpha() and pixbuf.get_n_channels() == 4, f"{path}: no alpha"
    pixels = pixbuf.get_pixels()
    stride = pixbuf.get_rowstride()

    def pixel(x, y):
        return tuple(pixels[y * stride + x * 4: y * stride + x * 4 + 4])
    # Every fixture's first icon is a red square on a clear background.
    assert pixel(side // 2, side // 2) == (255, 0, 0, 255), f"{path}: middle {pixel(side // 2, side // 2)}"
    assert pixel(1, 1)[3] == 0, f"{path}: corner {pixel(1, 1)}"
    print(f"ok {mime} {os.path.basename(path)} {side}x{side}")


def main():
    build, writer = sys.argv[1], sys.argv[2]
    try:
        import gi
        gi.require_version("GnomeDesktop", "3.0")
        from gi.repository import GnomeDesktop
    except (ImportError, ValueError) as error:
        skip(f"GNOME's thumbnail factory is not installed ({error})")
    if not sandbox_runs():
        skip("bubblewrap cannot make a sandbox here")
    if not os.access(PREFIX, os.W_OK):
        skip(f"{PREFIX} is not writable")
    # A sanitized build's leak check stops the world with ptrace, which the sandbox's seccomp
    # filter refuses: the check would fail every run. Later options override earlier ones.
    os.environ["ASAN_OPTIONS"] = os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0"

    # One installation at a time across build folders; a thumbnailer already installed there
    # comes back afterwards.
    with open(os.path.join(tempfile.gettempdir(), "pictarix-thumbnailer-test.lock"), "w") as lock, \
            tempfile.TemporaryDirectory() as scratch:
        fcntl.flock(lock, fcntl.LOCK_EX)
        for path in INSTALLED:
            if os.path.exists(path):
                shutil.copy2(path, os.path.join(scratch, os.path.basename(path)))
        created_folder = not os.path.isdir(os.path.dirname(INSTALLED[1]))
        try:
            subprocess.run(["cmake", "--install", build, "--prefix", PREFIX,
                            "--component", "thumbnailer"], check=True, stdout=subprocess.DEVNULL)
            fixtures = subprocess.run([writer, scratch], check=True, capture_output=True,
                                      text=True).stdout.splitlines()
            module, library, program16 = fixtures
            factory = GnomeDesktop.DesktopThumbnailFactory.new(
                GnomeDesktop.DesktopThumbnailSize.NORMAL)
            if module:
                check_thumbnail(factory, module, "application/x-msdownload", 48)
            check_thumbnail(factory, library, "application/x-icon-library", 128)
            check_thumbnail(factory, program16, "application/x-ms-ne-executable", 32)
        finally:
            for path in INSTALLED:
                saved = os.path.join(scratch, os.path.basename(path))
                if os.path.exists(saved):
                    shutil.copy2(saved, path)
                elif os.path.exists(path):
                    os.remove(path)
            if created_folder:
                shutil.rmtree(os.path.dirname(INSTALLED[1]), ignore_errors=True)


if __name__ == "__main__":
    main()
