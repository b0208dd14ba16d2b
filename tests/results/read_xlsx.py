"""Prints a workbook as JSON: its sheet names in order and, for every cell the
file holds, its value, its type and its vertical alignment."""
import json
import sys

import openpyxl


def main(path):
    book = openpyxl.load_workbook(path)
    sheets = []
    for ws in book.worksheets:
        cells = {}
        for (row, col), cell in sorted(ws._cells.items()):
            cells[cell.coordinate] = {
                "v": cell.value,
                "t": cell.data_type,
                "va": cell.alignment.vertical,
                "qp": bool(cell.quotePrefix),
            }
        sheets.append({"name": ws.title, "cells": cells})
    json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
