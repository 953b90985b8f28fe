#!/usr/bin/python3
# The table walk of table_benchmark.cpp (BM_TableWalk) done with python-docx,
# for comparison; run by hand:  bench/python_docx_table_walk.py ROWS
# Builds a ROWS x 4 table with text in every cell, saves and reopens it,
# then times reading every cell's text row by row (row.cells).
import os, sys, tempfile, time

import docx
from docx.table import _Cell

rows = int(sys.argv[1]) if len(sys.argv) > 1 else 1000
path = os.path.join(tempfile.mkdtemp(), "walk.docx")
d = docx.Document()
t = d.add_table(rows=rows, cols=4)
for tc in t._tbl.iter_tcs():
    _Cell(tc, t).text = "Cell text"
d.save(path)

t = docx.Document(path).tables[0]
start = time.perf_counter()
n = 0
for row in t.rows:
    for cell in row.cells:
        n += len(cell.text)
print("%d rows: %.2f s (%d characters)" % (rows, time.perf_counter() - start, n))
