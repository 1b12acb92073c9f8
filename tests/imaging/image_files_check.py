"""Checks the program's image files with tools nobody here wrote.

render_tree writes TIFF, PDF and PICT: tiffinfo, pdfinfo and identify must
read them at the rendered size. ImageMagick makes PNG, TIFF, PICT and PSD
pictures: image_load must read each and write a PNG (RGB, no alpha) whose
pixels, decoded here with zlib and struct, equal ImageMagick's own decoding.
A one-page PDF of ours loads as the picture that was rendered."""
import subprocess
import sys
import tempfile
from pathlib import Path

from png_decode import decode_png  # beside this file (zlib and struct only)


def run(*args, **kw):
    return subprocess.run([str(a) for a in args], check=True, capture_output=True, text=True,
                          **kw).stdout


def read_png(path):
    """(width, height, colour type, the samples row by row as bytes)."""
    width, height, colour_type, _, rows = decode_png(path)
    return width, height, colour_type, b"".join(rows)


def check_rendered_files(render_tree, folder):
    for ext in ("tif", "pdf", "pct"):
        path = folder / f"render.{ext}"
        run(render_tree, "builtin:2", path, 96, 64)
    info = run("tiffinfo", folder / "render.tif")
    assert "Image Width: 96 Image Length: 64" in info, info
    assert "Samples/Pixel: 3" in info, info
    assert "Page size:       96 x 64 pts" in run("pdfinfo", folder / "render.pdf")
    assert run("identify", "-format", "%m %w %h", folder / "render.pct") == "PICT 96 64"


def check_imports(image_load, folder):
    source = folder / "source.miff"
    run("convert", "-size", "48x32", "gradient:orange-navy", "(", "-size", "48x32",
        "pattern:checkerboard", ")", "-compose", "multiply", "-composite", "-depth", "8",
        source)
    expected = subprocess.run(["convert", str(source), "-depth", "8", "rgb:-"], check=True,
                              capture_output=True).stdout
    for name in ("pic.png", "pic.tif", "pic.pct", "pic.psd", "pic.tiff"):
        run("convert", source, folder / name)
        out = folder / (name + ".out.png")
        run(image_load, folder / name, out)
        width, height, colour_type, rgb = read_png(out)
        assert (width, height, colour_type) == (48, 32, 2), (name, width, height, colour_type)
        assert rgb == expected, f"{name}: pixels differ from ImageMagick's"
    # A name without its extension: the first extension tried is found.
    run(image_load, folder / "pic", folder / "bare.png")
    assert read_png(folder / "bare.png")[3] == expected
    # One page of ours loads as the rendered picture.
    run(image_load, folder / "render.pdf", folder / "pdf.png")
    run(image_load, folder / "render.tif", folder / "tif.png")
    assert read_png(folder / "pdf.png") == read_png(folder / "tif.png")
    missing = subprocess.run([str(image_load), str(folder / "none"), str(folder / "x.png")],
                             capture_output=True)
    assert missing.returncode == 1 and not (folder / "x.png").exists()


def main():
    render_tree, image_load = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as name:
        folder = Path(name)
        check_rendered_files(render_tree, folder)
        check_imports(image_load, folder)
    print("image files check passed")


if __name__ == "__main__":
    main()
