# Reads an exported measurement table with Python's csv module, as a spreadsheet import
# would: a header and ROWS rows of nine fields each, every value a number with a dot, and
# the text given as the one field it was, comma, quotes and all.
import csv
import sys

path, rows, text = sys.argv[1], int(sys.argv[2]), sys.argv[3]
with open(path, newline="", encoding="utf-8") as file:
    table = list(csv.reader(file, strict=True))
header = table[0]
assert header == ["number", "kind", "value", "unit", "scale", "calibrated", "text", "points", "readouts"], header
assert len(table) == rows + 1, len(table)
for number, row in enumerate(table[1:], start=1):
    assert len(row) == len(header), row
    record = dict(zip(header, row))
    assert int(record["number"]) == number, row
    if record["value"]:
        float(record["value"])
    for point in filter(None, record["points"].split(";")):
        assert len([float(coordinate) for coordinate in point.split(" ")]) == 2, row
assert [row[6] for row in table if row[1] == "text"] == [text], table
