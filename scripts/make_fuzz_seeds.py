#!/usr/bin/env python3
"""Builds the seed corpora of the fuzz harnesses: build/fuzz/seeds/<harness>/ (or the folder given)."""
import hashlib
import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
BMPSUITE = ROOT.parent / "shared" / "testdata" / "bmpsuite"

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
]

MESSAGE_LISTS = [
    "しばらくお待ち下さい\r\nNow Loading...\r\n起動中・・・\r\n起動ing\r\n",
    "", "\r\n", "\n", "\r", "one", "one\ntwo\n", "one\rtwo\r", "one\r\ntwo", "one\n\rtwo", "one\r\r\ntwo",
    "a\r\n\r\nb\r\n", "before\x00after\r\nhidden", "\x00", "表示\\テスト\r\nソフト\r\n",  # trail bytes 0x5C, 0x5C
    "ｶﾀｶﾅ\n" * 3, "x" * 3000 + "\r\n",
]


def write(folder: pathlib.Path, name: str, data: bytes) -> None:
    (folder / name).write_bytes(data)


def bmp_seeds(out: pathlib.Path) -> int:
    count = 0
    for sub in ("b", "g", "q", "x"):
        for f in sorted((BMPSUITE / sub).glob("*")):
            if f.is_file():
                shutil.copyfile(f, out / f"{sub}-{f.name}")
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
                print(f"make_fuzz_seeds: convert cannot write arithmetic coding, {name} skipped", file=sys.stderr)
                continue
            write(out, f"{name}.jpg", data)
            count += 1
    return count


def text_seeds(out: pathlib.Path, texts) -> int:
    for text in texts:
        data = text.encode("cp932")
        write(out, hashlib.sha1(data).hexdigest()[:16], data)
    return len(texts)


def main() -> None:
    seeds = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "build" / "fuzz" / "seeds"
    makers = {
        "fuzz_bmp": bmp_seeds,
        "fuzz_jpeg": jpeg_seeds,
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
