#!/usr/bin/env python3
"""Opens a run report in headless chromium through chromedriver's WebDriver
HTTP interface (standard library only) and checks that the page logs no
error, that the replay canvas is drawn and that the slider and the play
button move the match. Exit status 77 (skipped) when chromium or
chromedriver is missing.

    prueba_informe.py --visualizar BIN --datos RUN_FOLDER --trabajo WORK_DIR
                      [--grabador BIN] [--captura PNG]
"""
import argparse
import base64
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

OMITIDA = 77


def fallo(mensaje):
    print('FALLO: ' + mensaje)
    sys.exit(1)


def buscar_chromium():
    for candidato in (os.environ.get('CHROMIUM'), '/usr/lib/chromium/chromium', shutil.which('chromium'),
                      shutil.which('chromium-browser')):
        if candidato and os.path.isfile(candidato) and os.access(candidato, os.X_OK):
            return candidato
    return None


def puerto_libre():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class Navegador:
    """A chromedriver process and one session on it."""

    def __init__(self, chromedriver, chromium, carpeta_usuario):
        self.puerto = puerto_libre()
        self.base = 'http://127.0.0.1:%d' % self.puerto
        self.proceso = subprocess.Popen([chromedriver, '--port=%d' % self.puerto],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.sesion = None
        self._esperar_listo()
        argumentos = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                      '--disable-background-networking', '--disable-component-update', '--disable-sync',
                      '--disable-dev-shm-usage', '--window-size=1500,1750', '--user-data-dir=' + carpeta_usuario]
        capacidades = {'capabilities': {'alwaysMatch': {
            'browserName': 'chrome',
            'goog:chromeOptions': {'binary': chromium, 'args': argumentos},
            'goog:loggingPrefs': {'browser': 'ALL'}}}}
        respuesta = self.pedir('POST', '/session', capacidades)
        self.sesion = respuesta['sessionId']

    def _esperar_listo(self):
        limite = time.time() + 30
        while time.time() < limite:
            try:
                if self.pedir('GET', '/status').get('ready'):
                    return
            except (urllib.error.URLError, ConnectionError, OSError):
                pass
            time.sleep(0.2)
        fallo('chromedriver no arranca')

    def pedir(self, metodo, ruta, cuerpo=None):
        datos = None if cuerpo is None else json.dumps(cuerpo).encode()
        peticion = urllib.request.Request(self.base + ruta, data=datos, method=metodo,
                                          headers={'Content-Type': 'application/json'})
        try:
            with urllib.request.urlopen(peticion, timeout=60) as r:
                return json.loads(r.read().decode() or '{}').get('value', {})
        except urllib.error.HTTPError as e:
            fallo('%s %s: %s' % (metodo, ruta, e.read().decode(errors='replace')[:500]))

    def en_sesion(self, metodo, ruta, cuerpo=None):
        return self.pedir(metodo, '/session/%s%s' % (self.sesion, ruta), cuerpo)

    def script(self, codigo, *argumentos):
        return self.en_sesion('POST', '/execute/sync', {'script': codigo, 'args': list(argumentos)})

    def registro(self):
        return self.en_sesion('POST', '/se/log', {'type': 'browser'}) or []

    def cerrar(self):
        try:
            if self.sesion:
                self.en_sesion('DELETE', '')
        finally:
            self.proceso.terminate()
            try:
                self.proceso.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proceso.kill()


# Canvas summary: how many pixels differ from the floor colour, how many
# distinct colours, and a checksum of the whole image.
FIRMA_LIENZO = """
var c = document.getElementById('lienzo-partida');
var d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
var fondo = [d[0], d[1], d[2]], distintos = 0, colores = {}, suma = 0, rojos = 0, azules = 0;
for (var i = 0; i < d.length; i += 4) {
  if (Math.abs(d[i] - fondo[0]) + Math.abs(d[i+1] - fondo[1]) + Math.abs(d[i+2] - fondo[2]) > 30) distintos++;
  colores[(d[i] >> 4) + ',' + (d[i+1] >> 4) + ',' + (d[i+2] >> 4)] = 1;
  if (Math.abs(d[i] - 0xd1) < 12 && Math.abs(d[i+1] - 0x43) < 12 && Math.abs(d[i+2] - 0x1f) < 12) rojos++;
  if (Math.abs(d[i] - 0x1f) < 12 && Math.abs(d[i+1] - 0x6f) < 12 && Math.abs(d[i+2] - 0xd1) < 12) azules++;
  suma = (suma * 31 + d[i] + 7 * d[i+1] + 13 * d[i+2]) % 1000000007;
}
return {distintos: distintos, colores: Object.keys(colores).length, suma: suma, rojos: rojos, azules: azules,
        cuadro: window.informe.reproductor.cuadro, tiempo: document.getElementById('tiempo').textContent};
"""


def esperar(navegador, codigo, segundos, mensaje):
    limite = time.time() + segundos
    while time.time() < limite:
        if navegador.script(codigo):
            return
        time.sleep(0.1)
    fallo(mensaje)


def comprobar(navegador, url, captura):
    navegador.en_sesion('POST', '/url', {'url': url})
    esperar(navegador, 'return !!(window.informe && window.informe.listo);', 20, 'la p\u00e1gina no arranca')
    if not navegador.script('return !!window.informe.reproductor;'):
        fallo('no hay reproductor de la partida')
    num_cuadros = navegador.script('return window.informe.reproductor.p.cuadros.length;')
    if num_cuadros < 10:
        fallo('la partida tiene %s cuadros' % num_cuadros)

    inicio = navegador.script(FIRMA_LIENZO)
    print('cuadro 0:', inicio)
    if inicio['distintos'] < 2000 or inicio['colores'] < 4:
        fallo('el lienzo est\u00e1 en blanco: %s' % inicio)
    # The first two robots, in the first two colours of the page's palette.
    if inicio['rojos'] < 20 or inicio['azules'] < 20:
        fallo('no se ven los robots: %s' % inicio)

    # The slider jumps the match to the frame it points at.
    destino = num_cuadros * 2 // 3
    navegador.script("var s = document.getElementById('deslizador'); s.value = String(arguments[0]);"
                     "s.dispatchEvent(new Event('input', {bubbles: true}));", destino)
    movido = navegador.script(FIRMA_LIENZO)
    print('cuadro %d:' % destino, movido)
    if movido['cuadro'] != destino:
        fallo('el deslizador no mueve la partida: cuadro %s' % movido['cuadro'])
    if movido['suma'] == inicio['suma'] or movido['tiempo'] == inicio['tiempo']:
        fallo('el lienzo o el tiempo no cambian con el deslizador')

    # Play moves forward on its own; pause stops it.
    navegador.script("document.getElementById('deslizador').value = '0';"
                     "document.getElementById('deslizador').dispatchEvent(new Event('input'));")
    boton = navegador.en_sesion('POST', '/element', {'using': 'css selector', 'value': '#boton-reproducir'})
    id_boton = list(boton.values())[0]
    navegador.en_sesion('POST', '/element/%s/click' % id_boton, {})
    esperar(navegador, 'return window.informe.reproductor.cuadro > 5;', 10, 'reproducir no avanza la partida')
    navegador.en_sesion('POST', '/element/%s/click' % id_boton, {})
    parado = navegador.script('return window.informe.reproductor.cuadro;')
    time.sleep(0.4)
    if navegador.script('return window.informe.reproductor.cuadro;') != parado:
        fallo('la pausa no detiene la partida')

    errores = [e for e in navegador.registro() if e.get('level') == 'SEVERE']
    if errores:
        fallo('errores en la consola: %s' % errores)

    if captura:
        navegador.script("document.getElementById('deslizador').value = String(arguments[0]);"
                         "document.getElementById('deslizador').dispatchEvent(new Event('input'));",
                         num_cuadros // 3)
        png = base64.b64decode(navegador.en_sesion('GET', '/screenshot'))
        with open(captura, 'wb') as f:
            f.write(png)
        print('captura en', captura)


def main():
    p = argparse.ArgumentParser()
    p.add_argument('--visualizar', required=True)
    p.add_argument('--datos', required=True)
    p.add_argument('--trabajo', required=True)
    p.add_argument('--grabador', help='program that records a fresh match into the run folder')
    p.add_argument('--captura')
    args = p.parse_args()

    chromium = buscar_chromium()
    chromedriver = shutil.which('chromedriver')
    if not chromium or not chromedriver:
        print('OMITIDA: hace falta chromium y chromedriver')
        return OMITIDA

    carpeta = os.path.join(args.trabajo, 'ejecucion')
    shutil.rmtree(carpeta, ignore_errors=True)
    shutil.copytree(args.datos, carpeta)
    if args.grabador:
        r = subprocess.run([args.grabador, os.path.join(carpeta, 'partida.json'), '20', '6'],
                           capture_output=True, text=True)
        if r.returncode != 0:
            fallo('grabar_partida: %s' % r.stderr)
    r = subprocess.run([args.visualizar, '--sin-gnuplot', carpeta], capture_output=True, text=True)
    if r.returncode != 0:
        fallo('visualizar: %s' % r.stderr)

    usuario = tempfile.mkdtemp(prefix='perfil_chromium_')
    navegador = None
    try:
        navegador = Navegador(chromedriver, chromium, usuario)
        comprobar(navegador, 'file://' + os.path.abspath(os.path.join(carpeta, 'informe.html')), args.captura)
    finally:
        if navegador:
            navegador.cerrar()
        shutil.rmtree(usuario, ignore_errors=True)
    print('BIEN')
    return 0


if __name__ == '__main__':
    sys.exit(main())
