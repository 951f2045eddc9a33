#!/usr/bin/env python3
"""Builds the seed corpora of the fuzz harnesses: build/fuzz/seeds/<harness>/ (or the folder given)."""
import hashlib
import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
BMPSUITE = ROOT / "tests" / "data" / "bmpsuite"
PNGSUITE = ROOT / "tests" / "data" / "pngsuite"

# name, size, extra convert options (before the output file)
JPEG_FLAVOURS = [
    ("baseline-420", "67x43", ["-sampling-factor", "2x2"]),
    ("baseline-444", "67x43", ["-sampling-factor", "1x1"]),
    ("baseline-422", "41x30", ["-sampling-factor", "2x1"]),
    ("baseline-440", "30x41", ["-sampling-factor", "1x2"]),
    ("baseline-411", "70x9", ["-sampling-factor", "4x1"]),
    ("baseline-standard-tables", "67x43", ["-define", "jpeg:optimize-coding=false"]),
    ("baseline-q100", "33x17", ["-quality", "100", "-sampling-factor", "1x1"]),
    ("baseline-q5", "67x43", ["-quality", "5"]),
    ("baseline-1x1", "1x1", []),
    ("baseline-wide", "300x3", []),
    ("baseline-tall", "5x200", []),
    ("gray", "67x43", ["-colorspace", "Gray"]),
    ("gray-progressive", "67x43", ["-colorspace", "Gray", "-interlace", "JPEG"]),
    ("progressive-420", "67x43", ["-interlace", "JPEG"]),
    ("progressive-444", "45x37", ["-interlace", "JPEG", "-sampling-factor", "1x1"]),
    ("progressive-large", "203x97", ["-interlace", "JPEG"]),
    ("progressive-411-wide", "400x24", ["-interlace", "JPEG", "-sampling-factor", "4x1"]),
    ("progressive-422-wide", "320x16", ["-interlace", "JPEG", "-sampling-factor", "2x1"]),
    ("arithmetic", "67x43", ["-define", "jpeg:arithmetic-coding=true"]),
    ("arithmetic-progressive", "67x43", ["-define", "jpeg:arithmetic-coding=true", "-interlace", "JPEG"]),
    ("cmyk", "67x43", ["-colorspace", "CMYK"]),
    ("cmyk-progressive", "40x24", ["-colorspace", "CMYK", "-interlace", "JPEG"]),
]

SETTINGS_VALUES = [
    "", "0", "1", "2", "5", "-5", "130", "500", "-7", "+12", "-0", "007", "  42", "12 ", " ", "-", "+",
    "$FF", "0xFF", "0XFF", "xff", "X1f", "$80000005", "0x8000000F", "$FFFFFFFF", "$123456789", "$", "x", "0x",
    "0x0x1", "$-1", " $10", "  0x10", "0x 10", "-2147483633", "-2147483648", "2147483647", "2147483648",
    "-2147483649", "99999999999999999999", "00000000000000000000012", "12pt", "1.5", "1e3", "\t12", "12\n",
    "1\x002", "\uff11\uff12",  # full-width digits, written in code page 932
    # Companion keys of texts the file's code page cannot hold, well formed and broken.
    "C:\\Users\\Caf%C3%A9 Logos\\logo.bmp", "%E2%80%A6caf%C3%A9 %E2%98%95", "%e2%98%95", "100%25", "%F0%9F%98%80",
    "%", "%4", "%G1", "%C3", "%C3%28", "%C0%AF", "%ED%A0%80", "%F4%90%80%80", "caf\u00e9".encode("latin-1"),
    # Texts as UTF-16 units: lossy in code page 932 (accents, symbols, a pair of surrogates) and lossless.
    "C:\\Caf\u00e9 Logos\\logo.bmp".encode("utf-16-be"), "\u2026caf\u00e9 \u2615".encode("utf-16-be"),
    "\U0001F600".encode("utf-16-be"), "C:\\\u5199\u771f\\logo.jpg".encode("utf-16-be"), b"\xd8\x3d", b"\xdc\x00\xd8\x00",
]

MESSAGE_LISTS = [
    "しばらくお待ち下さい\r\nNow Loading...\r\n起動中・・・\r\n起動ing\r\n",
    "", "\r\n", "\n", "\r", "one", "one\ntwo\n", "one\rtwo\r", "one\r\ntwo", "one\n\rtwo", "one\r\r\ntwo",
    "a\r\n\r\nb\r\n", "before\x00after\r\nhidden", "\x00", "表示\\テスト\r\nソフト\r\n",  # trail bytes 0x5C, 0x5C
    "ｶﾀｶﾅ\n" * 3, "x" * 3000 + "\r\n",
    # Byte-order marks: UTF-8 as Notepad saves it, UTF-16 in both byte orders, and broken or cut-short forms.
    b"\xef\xbb\xbf" + "しばらくお待ち下さい\r\ncafé ☕\r\n".encode("utf-8"),
    b"\xef\xbb\xbf", b"\xef\xbb", b"\xef\xbb\xbfa\x80b\xe2\x98\r\n\xf0\x9f\x98\x80",
    b"\xff\xfe" + "起動中\r\n\r\ncafé ☕\n\U0001F600".encode("utf-16-le"),
    b"\xfe\xff" + "Now Loading...\r起動ing\r\n".encode("utf-16-be"),
    b"\xff\xfe", b"\xff\xfex", b"\xff\xfe\x00\xd8\r\x00", b"\xff\xfea\x00\x00\x00b\x00",
]


def write(folder: pathlib.Path, name: str, data: bytes) -> None:
    (folder / name).write_bytes(data)


def bmp_seeds(out: pathlib.Path) -> int:
    count = 0
    for sub in ("b", "g", "q", "x"):
        if not (BMPSUITE / sub).is_dir():
            sys.exit(f"make_fuzz_seeds: the bitmap test suite is missing: {BMPSUITE / sub}")
        for f in sorted((BMPSUITE / sub).glob("*")):
            if f.is_file():
                shutil.copyfile(f, out / f"{sub}-{f.name}")
                count += 1
    return count


def png_seeds(out: pathlib.Path) -> int:
    """PngSuite: every colour type, bit depth, interlacing, ancillary chunk, and the damaged x* files."""
    count = 0
    for f in sorted(PNGSUITE.glob("*.png")):
        shutil.copyfile(f, out / f.name)
        count += 1
    return count


def has_marker(data: bytes, code: int) -> bool:
    return bytes([0xFF, code]) in data


def jpeg_seeds(out: pathlib.Path) -> int:
    if shutil.which("convert") is None:
        print("make_fuzz_seeds: ImageMagick convert not found, no JPEG seeds", file=sys.stderr)
        return 0
    count = 0
    with tempfile.TemporaryDirectory() as tmp:
        for name, size, options in JPEG_FLAVOURS:
            target = pathlib.Path(tmp) / f"{name}.jpg"
            subprocess.run(["convert", "-size", size, "-seed", "7", "plasma:fractal", "-strip", *options, str(target)],
                           check=True)
            data = target.read_bytes()
            if "arithmetic" in name and not has_marker(data, 0xC9) and not has_marker(data, 0xCA):
                print(f"make_fuzz_seeds: convert cannot write arithmetic coding, {name} skipped (the libjpeg writer covers it)",
                      file=sys.stderr)
                continue
            write(out, f"{name}.jpg", data)
            count += 1
    return count + sampling_variants(out) + writer_seeds(out)


# What convert cannot write (arithmetic coding, restart markers) comes from a small libjpeg program.
JPEG_WRITER = r"""
#include <stdio.h>
#include <stdlib.h>
#include <jpeglib.h>
int main(int argc, char **argv) {
  int w = 67, h = 43, arith = atoi(argv[2]), progressive = atoi(argv[3]), restart_rows = atoi(argv[4]);
  struct jpeg_compress_struct c;
  struct jpeg_error_mgr err;
  FILE *f = fopen(argv[1], "wb");
  if (!f) return 1;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = w;
  c.image_height = h;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  c.arith_code = arith;
  c.restart_in_rows = restart_rows;
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  unsigned char row[67 * 3];
  while (c.next_scanline < c.image_height) {
    int y = c.next_scanline;
    for (int x = 0; x < w; ++x) {
      row[3 * x] = x * 255 / (w - 1);
      row[3 * x + 1] = y * 255 / (h - 1);
      row[3 * x + 2] = ((x / 6 + y / 5) % 2) ? 230 : 20;
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  return fclose(f) != 0;
}
"""

# name, arithmetic, progressive, restart interval in MCU rows
WRITER_FLAVOURS = [
    ("libjpeg-arithmetic", 1, 0, 0),
    ("libjpeg-arithmetic-progressive", 1, 1, 0),
    ("libjpeg-restarts", 0, 0, 1),
    ("libjpeg-arithmetic-restarts", 1, 0, 1),
]


def writer_seeds(out: pathlib.Path) -> int:
    with tempfile.TemporaryDirectory() as tmp:
        source, program = pathlib.Path(tmp) / "writer.c", pathlib.Path(tmp) / "writer"
        source.write_text(JPEG_WRITER)
        built = subprocess.run(["cc", "-O1", "-o", str(program), str(source), "-ljpeg"], capture_output=True)
        if built.returncode != 0:
            print("make_fuzz_seeds: cannot build the libjpeg writer, no arithmetic or restart seeds", file=sys.stderr)
            return 0
        for name, arith, progressive, restarts in WRITER_FLAVOURS:
            subprocess.run([str(program), str(out / f"{name}.jpg"), str(arith), str(progressive), str(restarts)],
                           check=True)
    return len(WRITER_FLAVOURS)


# Unusual sampling factors given to the first component of 4:4:4 seeds; the scans then no longer fit the
# frame, which is just as good a start for the fuzzer.
SAMPLING_VARIANTS = [(3, 1), (1, 3), (4, 1), (1, 4), (4, 2), (2, 4), (3, 3), (4, 4)]


def sampling_variants(out: pathlib.Path) -> int:
    count = 0
    for name in ("baseline-444", "progressive-444"):
        source = out / f"{name}.jpg"
        if not source.exists():
            continue
        data = source.read_bytes()
        sof = next((i for i in range(len(data) - 1) if data[i] == 0xFF and data[i + 1] in (0xC0, 0xC1, 0xC2)), None)
        if sof is None:
            continue
        for h, v in SAMPLING_VARIANTS:
            variant = bytearray(data)
            variant[sof + 11] = h << 4 | v  # first component's sampling byte
            write(out, f"{name}-y{h}x{v}.jpg", bytes(variant))
            count += 1
    return count


def text_seeds(out: pathlib.Path, texts) -> int:
    for text in texts:
        data = text if isinstance(text, bytes) else text.encode("cp932")
        write(out, hashlib.sha1(data).hexdigest()[:16], data)
    return len(texts)


def main() -> None:
    seeds = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "build" / "fuzz" / "seeds"
    makers = {
        "fuzz_bmp": bmp_seeds,
        "fuzz_jpeg": jpeg_seeds,
        "fuzz_png": png_seeds,
        "fuzz_settings_value": lambda out: text_seeds(out, SETTINGS_VALUES),
        "fuzz_message_list": lambda out: text_seeds(out, MESSAGE_LISTS),
    }
    for harness, make in makers.items():
        out = seeds / harness
        shutil.rmtree(out, ignore_errors=True)
        out.mkdir(parents=True)
        print(f"make_fuzz_seeds: {make(out):3d} seeds for {harness}")


if __name__ == "__main__":
    main()
