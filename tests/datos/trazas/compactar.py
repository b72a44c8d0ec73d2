#!/usr/bin/env python3
"""Writes the columns that tests/test_arena_trazas.cpp reads from the full
recordings of the real arena (one CSV per arena plus objects.csv).

usage: compactar.py FOLDER_WITH_THE_RECORDINGS [OUTPUT_FOLDER]

dt is left out (the tests take it from consecutive times).
"""
import csv
import os
import sys

ARENAS = ["Square", "Star", "Forest", "Flower", "Rooms", "Circles"]
COLUMNAS = ["t", "coord_x", "coord_y", "coord_heading", "radar_rel", "radar_dist", "radar_type", "speed",
            "log_energy", "collisions", "acc", "brake", "body_rot"]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    origen = sys.argv[1]
    destino = sys.argv[2] if len(sys.argv) > 2 else os.path.dirname(os.path.abspath(__file__))
    for arena in ARENAS:
        with open(os.path.join(origen, arena + ".csv")) as f:
            filas = list(csv.DictReader(f))
        with open(os.path.join(destino, arena + ".csv"), "w") as f:
            f.write(",".join(COLUMNAS) + "\n")
            for fila in filas:
                f.write(",".join(fila[c] for c in COLUMNAS) + "\n")
    with open(os.path.join(origen, "objects.csv")) as f, open(os.path.join(destino, "objetos.csv"), "w") as g:
        for fila in csv.reader(f):
            g.write(",".join(fila) + "\n")


if __name__ == "__main__":
    main()
