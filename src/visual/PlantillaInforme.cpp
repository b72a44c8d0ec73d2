#include "PlantillaInforme.h"

const char* EstiloInforme()
{
    return R"CSS(
body { font-family: sans-serif; margin: 0; background: #f3f3f0; color: #222; }
header { background: #2d3e50; color: white; padding: 14px 24px; }
header h1 { margin: 0; font-size: 22px; }
header p { margin: 4px 0 0 0; font-size: 13px; color: #cdd6df; }
main { padding: 12px 24px 40px 24px; max-width: 1400px; }
section { background: white; border: 1px solid #ddd; border-radius: 6px; padding: 12px 18px; margin: 14px 0; }
h2 { font-size: 17px; margin: 4px 0 10px 0; }
table { border-collapse: collapse; font-size: 13px; margin: 0 16px 8px 0; }
td, th { border-bottom: 1px solid #e6e6e6; padding: 3px 10px 3px 0; text-align: left; vertical-align: top; }
th { color: #555; font-weight: normal; }
.tablas { display: flex; flex-wrap: wrap; align-items: flex-start; }
.graficas { display: flex; flex-wrap: wrap; gap: 10px; }
.graficas svg, .diagrama svg { max-width: 100%; height: auto; border: 1px solid #eee; }
.aviso { background: #fff4d6; border: 1px solid #e8cf7c; padding: 6px 10px; font-size: 13px; }
.error { background: #fde2df; border: 1px solid #e39a91; padding: 6px 10px; font-size: 13px; }
.nota { font-size: 12px; color: #666; }
#reproductor { display: flex; flex-wrap: wrap; gap: 16px; align-items: flex-start; }
#lienzo-partida { background: #fbfaf5; border: 1px solid #ccc; }
#controles { display: flex; gap: 10px; align-items: center; margin: 8px 0; font-size: 13px; }
#deslizador { width: 420px; }
#tiempo { font-family: monospace; min-width: 90px; display: inline-block; }
#lista-robots { font-size: 13px; min-width: 220px; }
#lista-robots div { margin: 3px 0; }
.muestra { display: inline-block; width: 12px; height: 12px; border-radius: 6px; margin-right: 6px; vertical-align: middle; }
a { color: #1f5fa8; }
)CSS";
}

const char* GuionReproductor()
{
    return R"JS(
(function () {
  'use strict';
  var PALETA = ['#d1431f', '#1f6fd1', '#2e9d46', '#9b4fc0', '#d99a00', '#17a2b8', '#8c564b', '#e377c2'];

  function num(v, porDefecto) {
    var n = Number(v);
    return isFinite(n) ? n : porDefecto;
  }
  function primero(obj, claves, porDefecto) {
    for (var i = 0; i < claves.length; i++)
      if (obj && obj[claves[i]] !== undefined) return obj[claves[i]];
    return porDefecto;
  }
  function punto(p) {
    if (Array.isArray(p)) return { x: num(p[0], 0), y: num(p[1], 0) };
    return { x: num(primero(p, ['x'], 0), 0), y: num(primero(p, ['y'], 0), 0) };
  }

  // A robot's state in one frame: [x, y, heading, cannon, radar, energy]
  // (cannon and radar relative to the body), or the same as an object;
  // null or "vivo": false for a dead robot.
  function estadoRobot(r) {
    if (r === null || r === undefined) return null;
    if (Array.isArray(r))
      return { x: num(r[0], 0), y: num(r[1], 0), rumbo: num(r[2], 0), canon: num(r[3], 0),
               radar: num(r[4], 0), energia: num(r[5], 0), vivo: r.length < 7 || !!r[6] };
    var vivo = primero(r, ['vivo'], true);
    if (primero(r, ['muerto'], false)) vivo = false;
    return { x: num(r.x, 0), y: num(r.y, 0), rumbo: num(primero(r, ['rumbo', 'angulo'], 0), 0),
             canon: num(primero(r, ['canon', 'angulo_canon'], 0), 0),
             radar: num(primero(r, ['radar', 'angulo_radar'], 0), 0),
             energia: num(primero(r, ['energia'], 0), 0), vivo: !!vivo };
  }

  function normalizarArena(a) {
    a = a || {};
    var forma = String(primero(a, ['forma', 'tipo'], 'circulo')).toLowerCase();
    if (forma.indexOf('cuadr') === 0)
      return { forma: 'cuadrado', mitad: num(primero(a, ['mitad', 'semilado'], NaN), num(a.lado, 19.4) / 2) };
    return { forma: 'circulo', radio: num(a.radio, 9.9) };
  }

  function normalizarPartida(d) {
    var p = { arena: normalizarArena(d.arena), robots: [], cuadros: [] };
    var robots = d.robots || [];
    for (var i = 0; i < robots.length; i++) {
      var r = robots[i] || {};
      p.robots.push({ nombre: String(primero(r, ['nombre'], 'robot ' + i)),
                      color: String(primero(r, ['color'], PALETA[i % PALETA.length])) });
    }
    var cuadros = d.cuadros || [];
    for (var k = 0; k < cuadros.length; k++) {
      var c = cuadros[k] || {};
      var estados = (c.robots || []).map(estadoRobot);
      while (p.robots.length < estados.length)
        p.robots.push({ nombre: 'robot ' + p.robots.length, color: PALETA[p.robots.length % PALETA.length] });
      p.cuadros.push({ t: num(c.t, k * num(d.paso, 0.05)), robots: estados,
                       disparos: (c.disparos || []).map(punto), galletas: (c.galletas || []).map(punto),
                       minas: (c.minas || []).map(punto) });
    }
    return p;
  }

  function Reproductor(partida, lienzo) {
    this.p = partida;
    this.lienzo = lienzo;
    this.ctx = lienzo.getContext('2d');
    this.cuadro = 0;
    this.reproduciendo = false;
    this.velocidad = 1;
    var extension = partida.arena.forma === 'cuadrado' ? partida.arena.mitad : partida.arena.radio;
    this.escala = (Math.min(lienzo.width, lienzo.height) / 2 - 14) / (extension + 0.6);
  }
  Reproductor.prototype.aLienzo = function (x, y) {
    return [this.lienzo.width / 2 + x * this.escala, this.lienzo.height / 2 - y * this.escala];
  };
  Reproductor.prototype.circulo = function (x, y, r, relleno, trazo, minimo) {
    var c = this.aLienzo(x, y), ctx = this.ctx;
    ctx.beginPath();
    ctx.arc(c[0], c[1], Math.max(r * this.escala, minimo || 0), 0, 2 * Math.PI);
    if (relleno) { ctx.fillStyle = relleno; ctx.fill(); }
    if (trazo) { ctx.strokeStyle = trazo; ctx.stroke(); }
  };
  Reproductor.prototype.linea = function (x, y, angulo, largo, color, ancho) {
    var a = this.aLienzo(x, y), b = this.aLienzo(x + Math.cos(angulo) * largo, y + Math.sin(angulo) * largo);
    var ctx = this.ctx;
    ctx.beginPath();
    ctx.moveTo(a[0], a[1]);
    ctx.lineTo(b[0], b[1]);
    ctx.strokeStyle = color;
    ctx.lineWidth = ancho;
    ctx.stroke();
    ctx.lineWidth = 1;
  };
  Reproductor.prototype.dibujarArena = function () {
    var ctx = this.ctx, a = this.p.arena, c = this.aLienzo(0, 0);
    ctx.fillStyle = '#fbfaf5';
    ctx.fillRect(0, 0, this.lienzo.width, this.lienzo.height);
    ctx.lineWidth = 6;
    ctx.strokeStyle = '#4a4a4a';
    ctx.beginPath();
    if (a.forma === 'cuadrado') {
      var m = a.mitad * this.escala;
      ctx.rect(c[0] - m - 3, c[1] - m - 3, 2 * m + 6, 2 * m + 6);
    } else {
      ctx.arc(c[0], c[1], a.radio * this.escala + 3, 0, 2 * Math.PI);
    }
    ctx.stroke();
    ctx.lineWidth = 1;
  };
  Reproductor.prototype.dibujarRobot = function (r, datos) {
    if (!r) return;
    if (!r.vivo) {
      this.circulo(r.x, r.y, 0.5, '#dddddd', '#999999');
      var c = this.aLienzo(r.x, r.y), d = 0.3 * this.escala, ctx = this.ctx;
      ctx.beginPath();
      ctx.moveTo(c[0] - d, c[1] - d); ctx.lineTo(c[0] + d, c[1] + d);
      ctx.moveTo(c[0] + d, c[1] - d); ctx.lineTo(c[0] - d, c[1] + d);
      ctx.strokeStyle = '#777777'; ctx.stroke();
      return;
    }
    var radar = r.rumbo + r.radar, canon = r.rumbo + r.canon;
    this.linea(r.x, r.y, radar, 4.0, 'rgba(60, 160, 60, 0.35)', 2);
    this.circulo(r.x, r.y, 0.5, datos.color, '#222222');
    this.linea(r.x, r.y, canon, 0.85, '#333333', Math.max(3, 0.16 * this.escala));
    this.linea(r.x, r.y, r.rumbo, 0.5, '#ffffff', 2);
    // Energy bar: start energy is 100, the most a robot can hold 120.
    var e = Math.max(0, Math.min(1, r.energia / 120)), p = this.aLienzo(r.x - 0.6, r.y + 0.85);
    var ancho = 1.2 * this.escala, ctx2 = this.ctx;
    ctx2.fillStyle = '#444444';
    ctx2.fillRect(p[0] - 1, p[1] - 1, ancho + 2, 6);
    ctx2.fillStyle = e > 0.5 ? '#3bb34a' : (e > 0.25 ? '#e0b020' : '#d9402b');
    ctx2.fillRect(p[0], p[1], ancho * e, 4);
  };
  Reproductor.prototype.dibujar = function () {
    var c = this.p.cuadros[this.cuadro], i;
    this.dibujarArena();
    if (!c) return;
    for (i = 0; i < c.galletas.length; i++) this.circulo(c.galletas[i].x, c.galletas[i].y, 0.3, '#5cc85c', '#2f7a2f');
    for (i = 0; i < c.minas.length; i++) {
      this.circulo(c.minas[i].x, c.minas[i].y, 0.3, '#3a3a3a', '#d9402b');
      this.circulo(c.minas[i].x, c.minas[i].y, 0.1, '#d9402b');
    }
    for (i = 0; i < c.robots.length; i++) this.dibujarRobot(c.robots[i], this.p.robots[i]);
    for (i = 0; i < c.disparos.length; i++) this.circulo(c.disparos[i].x, c.disparos[i].y, 0.1, '#000000', null, 2.5);
    this.actualizarTextos(c);
  };
  Reproductor.prototype.actualizarTextos = function (c) {
    document.getElementById('tiempo').textContent = 't = ' + c.t.toFixed(2) + ' s';
    for (var i = 0; i < this.p.robots.length; i++) {
      var casilla = document.getElementById('energia-robot-' + i);
      if (!casilla) continue;
      var r = c.robots[i];
      casilla.textContent = !r ? '-' : (r.vivo ? r.energia.toFixed(1) : 'muerto');
    }
  };
  Reproductor.prototype.irA = function (k) {
    this.cuadro = Math.max(0, Math.min(this.p.cuadros.length - 1, k | 0));
    document.getElementById('deslizador').value = String(this.cuadro);
    this.dibujar();
  };
  Reproductor.prototype.avanzar = function (ahora) {
    if (!this.reproduciendo) return;
    var yo = this;
    if (this.ultimo !== undefined) {
      var tObjetivo = this.p.cuadros[this.cuadro].t + (ahora - this.ultimo) / 1000 * this.velocidad;
      var k = this.cuadro;
      while (k + 1 < this.p.cuadros.length && this.p.cuadros[k + 1].t <= tObjetivo) k++;
      if (k !== this.cuadro) { this.irA(k); this.ultimo = ahora; }
      if (k + 1 >= this.p.cuadros.length) { this.pausar(); return; }
    } else {
      this.ultimo = ahora;
    }
    requestAnimationFrame(function (t) { yo.avanzar(t); });
  };
  Reproductor.prototype.reproducir = function () {
    if (this.cuadro + 1 >= this.p.cuadros.length) this.irA(0);
    this.reproduciendo = true;
    this.ultimo = undefined;
    document.getElementById('boton-reproducir').textContent = 'Pausa';
    var yo = this;
    requestAnimationFrame(function (t) { yo.avanzar(t); });
  };
  Reproductor.prototype.pausar = function () {
    this.reproduciendo = false;
    document.getElementById('boton-reproducir').textContent = 'Reproducir';
  };

  function iniciar() {
    var fuente = document.getElementById('datos-partida');
    window.informe = { listo: true, reproductor: null };
    if (!fuente) return;
    var partida = normalizarPartida(JSON.parse(fuente.textContent));
    if (partida.cuadros.length === 0) return;
    var lista = document.getElementById('lista-robots');
    for (var i = 0; i < partida.robots.length; i++) {
      var fila = document.createElement('div'), muestra = document.createElement('span');
      var nombre = document.createElement('span'), energia = document.createElement('span');
      muestra.className = 'muestra';
      muestra.style.background = partida.robots[i].color;
      nombre.textContent = partida.robots[i].nombre + ': ';
      energia.id = 'energia-robot-' + i;
      fila.appendChild(muestra); fila.appendChild(nombre); fila.appendChild(energia);
      lista.appendChild(fila);
    }
    var lienzo = document.getElementById('lienzo-partida');
    var rep = new Reproductor(partida, lienzo);
    window.informe.reproductor = rep;
    var deslizador = document.getElementById('deslizador');
    deslizador.max = String(partida.cuadros.length - 1);
    deslizador.addEventListener('input', function () { rep.pausar(); rep.irA(Number(deslizador.value)); });
    document.getElementById('boton-reproducir').addEventListener('click', function () {
      if (rep.reproduciendo) rep.pausar(); else rep.reproducir();
    });
    document.getElementById('velocidad').addEventListener('change', function () {
      rep.velocidad = Number(this.value) || 1;
    });
    rep.irA(0);
  }
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', iniciar);
  else iniciar();
})();
)JS";
}
