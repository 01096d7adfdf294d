#!/usr/bin/env python3
"""Draws a 24-bit Windows bitmap from a description of rectangles, shadings
and text pictures.

Usage: make-picture.py DESCRIPTION.txt OUT.bmp

The description is a list of commands, one a line (# starts a comment):
  size W H                      the picture's size
  colour C RRGGBB               a palette letter for the text pictures
  shade C TOP BOTTOM            a palette letter whose colour goes from TOP at the
                                picture's top row to BOTTOM at its foot
  gradient X Y W H TOP BOTTOM   a rectangle shading from one colour to another
  rect X Y W H RRGGBB           a filled rectangle
  shadow DX DY RRGGBB           the next text picture is first drawn offset, in one colour
  picture X Y SCALE             a text picture, one palette letter a cell of
                                SCALE x SCALE pixels ('.' draws nothing); its
                                rows follow, up to "end"
"""
import importlib.util
import os
import sys

_spec = importlib.util.spec_from_file_location(
    "make_bitmap", os.path.join(os.path.dirname(os.path.abspath(__file__)), "make-bitmap.py"))
make_bitmap = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(make_bitmap)


def colour(text):
    if len(text) != 6:
        raise ValueError("a colour is six hexadecimal digits: " + text)
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[(0, 0, 0)] * width for _ in range(height)]
        self.palette = {}
        self.shadow = None

    def rect(self, x, y, w, h, fill):
        for row in range(max(y, 0), min(y + h, self.height)):
            for col in range(max(x, 0), min(x + w, self.width)):
                self.pixels[row][col] = fill(col - x, row - y)

    def picture(self, x, y, scale, rows):
        shadow, self.shadow = self.shadow, None
        if shadow:
            dx, dy, dark = shadow
            self.cells(x + dx, y + dy, scale, rows, lambda c: dark)
        self.cells(x, y, scale, rows, self.palette.__getitem__)

    def shade(self, top, bottom):
        """A colour that goes from `top` at the picture's top row to `bottom` at its foot."""
        return lambda row: tuple(round(t + (b - t) * row / (self.height - 1)) for t, b in zip(top, bottom))

    def cells(self, x, y, scale, rows, paint):
        for r, row in enumerate(rows):
            for c, letter in enumerate(row):
                if letter != '.':
                    fill, top = paint(letter), y + r * scale
                    if callable(fill):
                        self.rect(x + c * scale, top, scale, scale, lambda _, dy, f=fill, t=top: f(t + dy))
                    else:
                        self.rect(x + c * scale, top, scale, scale, lambda *_, f=fill: f)


def draw(lines):
    canvas = None
    lines = iter(enumerate(lines, 1))
    for number, line in lines:
        words = line.split()
        if not words or words[0].startswith('#'):
            continue
        command, args = words[0], words[1:]
        try:
            if command == "size":
                canvas = Canvas(int(args[0]), int(args[1]))
            elif command == "colour":
                canvas.palette[args[0]] = colour(args[1])
            elif command == "shade":
                canvas.palette[args[0]] = canvas.shade(colour(args[1]), colour(args[2]))
            elif command == "gradient":
                x, y, w, h = map(int, args[:4])
                top, bottom = colour(args[4]), colour(args[5])
                canvas.rect(x, y, w, h, lambda _, row: tuple(
                    round(t + (b - t) * row / max(h - 1, 1)) for t, b in zip(top, bottom)))
            elif command == "rect":
                fill = colour(args[4])
                canvas.rect(*map(int, args[:4]), lambda *_: fill)
            elif command == "shadow":
                canvas.shadow = (int(args[0]), int(args[1]), colour(args[2]))
            elif command == "picture":
                rows = []
                for _, row in lines:
                    if row.strip() == "end":
                        break
                    rows.append(row.rstrip("\n"))
                canvas.picture(int(args[0]), int(args[1]), int(args[2]), rows)
            else:
                raise ValueError("unknown command " + command)
        except (ValueError, IndexError, KeyError, AttributeError) as error:
            sys.exit("line %d: %s" % (number, error or "incomplete"))
    if canvas is None:
        sys.exit("the description gives no size")
    return canvas


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1]) as description:
        canvas = draw(description.read().splitlines())
    with open(sys.argv[2], "wb") as out:
        out.write(make_bitmap.bmp_file(canvas.width, canvas.height, lambda x, y: canvas.pixels[y][x]))


if __name__ == "__main__":
    main()
