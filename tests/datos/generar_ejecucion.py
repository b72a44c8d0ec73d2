#!/usr/bin/env python3
"""Writes the small example run folder tests/datos/ejecucion/ that the report
tests use: statistics, species, a network and a summary. Deterministic; run
it again only to change the example. The recorded match, partida.json, is a
real one from the arena simulation:
    build/tests/grabar_partida tests/datos/ejecucion/partida.json 20 6"""
import json
import math
import os
import random

CARPETA = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'ejecucion')
CLAVE = 0x4B


def codificar_red(plano):
    salida = []
    for b in plano.encode('ascii'):
        s = (b + CLAVE) % 256
        if s == 0x0A:
            salida.append(b'\\n')
        elif s == 0x5C:
            salida.append(b'\\\\')
        elif s == 0x22:
            salida.append(b'\\"')
        else:
            salida.append(bytes([s]))
    return b''.join(salida)


def red_plana():
    # 6 inputs, bias, 5 outputs, 3 hidden; (kind, id, curvature, x, y)
    neuronas = [(0, i, 1, (i + 1) / 8.0, 0) for i in range(6)]
    neuronas.append((3, 6, 1, 7 / 8.0, 0))
    neuronas += [(1, 7 + i, 1, (i + 1) / 6.0, 1) for i in range(5)]
    neuronas += [(2, 12, 1, 0.3, 0.5), (2, 13, 1, 0.6, 0.5), (2, 14, 1.3, 0.45, 0.75)]
    pos = {n[1]: k for k, n in enumerate(neuronas)}
    # (source id, target id, weight, recurrent)
    enlaces = [(0, 7, 1.5, 0), (1, 8, -2.25, 0), (2, 12, 0.8, 0), (12, 9, 3.1, 0), (3, 13, -0.4, 0),
               (13, 10, 1.2, 0), (4, 11, -0.9, 0), (5, 14, 2.0, 0), (14, 11, -3.5, 0), (6, 7, 0.3, 0),
               (6, 9, -0.6, 0), (13, 13, 0.7, 1), (9, 12, -1.1, 1), (14, 13, 0.5, 1), (12, 14, 0.9, 0)]
    lineas = [str(len(neuronas))]
    for n in neuronas:
        lineas += [str(n[0]), str(n[1]), '%g' % n[2], '%g' % n[3], '%g' % n[4]]
    lineas.append('')
    for n in neuronas:
        salientes = [e for e in enlaces if e[0] == n[1]]
        lineas.append(str(len(salientes)))
        for e in salientes:
            lineas += [str(e[3]), '%g' % e[2], str(pos[e[0]]), str(pos[e[1]])]
    return '\n'.join(lineas) + '\n'


def estadisticas(rnd):
    filas = ['generacion,evaluaciones,mejor_puntuacion,media_puntuacion,mejor_idoneidad_historica,'
             'especies,neuronas_media,enlaces_media,segundos']
    historica = 0
    for g in range(30):
        mejor = 1.0 + 2.5 * (1 - math.exp(-g / 8.0)) + rnd.uniform(-0.2, 0.2)
        media = mejor * 0.55 + rnd.uniform(-0.1, 0.1)
        historica = max(historica, mejor)
        filas.append('%d,%d,%.4f,%.4f,%.4f,%d,%.3f,%.3f,%.2f' % (
            g, (g + 1) * 200, mejor, media, historica, min(2 + g // 4, 7), 12 + g * 0.12, 30 + g * 0.6,
            1.5 + rnd.uniform(0, 0.3)))
    return '\n'.join(filas) + '\n'


def especies(rnd):
    filas = ['generacion,especie,miembros,edad,lider,hijos']
    nacimiento = {}
    for g in range(30):
        vivas = [e for e in range(1, 9) if e <= 2 + g // 4 and not (e == 2 and g > 20)]
        pesos = [rnd.uniform(0.5, 2) for _ in vivas]
        total = 50
        miembros = [max(1, int(total * p / sum(pesos))) for p in pesos]
        miembros[0] += total - sum(miembros)
        for e, m in zip(vivas, miembros):
            nacimiento.setdefault(e, g)
            filas.append('%d,%d,%d,%d,%d,%d' % (g, e, m, g - nacimiento[e], e * 100 + g, m))
    return '\n'.join(filas) + '\n'


def main():
    rnd = random.Random(7)
    os.makedirs(CARPETA, exist_ok=True)
    with open(os.path.join(CARPETA, 'mejor_red.txt'), 'wb') as f:
        f.write(codificar_red(red_plana()))
    with open(os.path.join(CARPETA, 'estadisticas.csv'), 'w') as f:
        f.write(estadisticas(rnd))
    with open(os.path.join(CARPETA, 'especies.csv'), 'w') as f:
        f.write(especies(rnd))
    resumen = {'programa': 'entrenar robot', 'semilla': 7, 'generaciones': 30, 'mejor_puntuacion': 3.61,
               'segundos': 48.2, 'parametros': {'poblacion': 50, 'partidas_por_miembro': 4, 'hilos': 2,
                                                'rivales': 'girador, buscador'}}
    with open(os.path.join(CARPETA, 'resumen.json'), 'w') as f:
        json.dump(resumen, f, indent=1)
        f.write('\n')


if __name__ == '__main__':
    main()
