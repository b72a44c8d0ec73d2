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
.graficas svg { box-sizing: border-box; width: calc((100% - 20px) / 3); min-width: 420px; height: auto; border: 1px solid #eee; }
.diagrama svg { width: 100%; max-width: 720px; height: auto; border: 1px solid #eee; }
.fila { display: grid; grid-template-columns: minmax(0, 1fr); gap: 0 14px; }
@media (min-width: 1300px) { .fila { grid-template-columns: minmax(0, 1fr) minmax(0, 1fr); } }
.fila section { margin: 0 0 14px 0; }
.aviso { background: #fff4d6; border: 1px solid #e8cf7c; padding: 6px 10px; font-size: 13px; }
.error { background: #fde2df; border: 1px solid #e39a91; padding: 6px 10px; font-size: 13px; }
.nota { font-size: 12px; color: #666; }
#reproductor { display: flex; flex-wrap: wrap; gap: 16px; align-items: flex-start; }
#lienzo-partida { border: 1px solid #ccc; max-width: 100%; height: auto; }
#controles { display: flex; gap: 10px; align-items: center; margin: 8px 0; font-size: 13px; }
#deslizador { flex: 1; min-width: 200px; }
#tiempo { font-family: monospace; min-width: 90px; display: inline-block; }
#lado-partida { font-size: 13px; min-width: 260px; }
#sucesos { font-size: 12px; color: #444; margin-top: 14px; min-height: 9em; }
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
    return (v !== null && v !== undefined && isFinite(n)) ? n : porDefecto;
  }
  function lista(v) { return Array.isArray(v) ? v : []; }
  function punto(p) {
    p = lista(p);
    return { x: num(p[0], 0), y: num(p[1], 0), energia: num(p[2], 0) };
  }

  // [x, y, heading, cannon, radar, energy, alive], angles absolute.
  function estadoRobot(r) {
    if (!Array.isArray(r)) return null;
    return { x: num(r[0], 0), y: num(r[1], 0), rumbo: num(r[2], 0), canon: num(r[3], 0),
             radar: num(r[4], 0), energia: num(r[5], 0), vivo: r.length < 7 || !!r[6] };
  }

  // [kind, robot, x, y, value]
  function suceso(e, k) {
    e = lista(e);
    return { tipo: String(e[0]), robot: num(e[1], -1), x: num(e[2], 0), y: num(e[3], 0),
             valor: num(e[4], 0), cuadro: k };
  }

  // A wall: ["l",x1,y1,x2,y2,half width], ["c",x,y,r] pillar, ["i",x,y,r]
  // solid outside, ["a",x,y,r_in,r_out,a1,a2] counter-clockwise sector.
  function figura(f) {
    f = lista(f);
    var v = f.slice(1).map(function (x) { return num(x, 0); });
    return { tipo: String(f[0]), v: v };
  }

  // The arena simulation's recording (see src/arena/CGrabacion.h).
  function normalizarPartida(d) {
    var radios = d.radios || {};
    var medida = num(d.medida, String(d.arena) === 'cuadrado' ? 9.7 : 9.9);
    var limites = lista(d.limites).map(function (v) { return num(v, 0); });
    if (limites.length !== 4 || !(limites[2] > limites[0] && limites[3] > limites[1]))
      limites = [-medida, -medida, medida, medida];
    var p = {
      arena: { forma: String(d.arena) === 'cuadrado' ? 'cuadrado' : 'circulo', medida: medida,
               limites: limites, figuras: lista(d.figuras).map(figura) },
      radios: { robot: num(radios.robot, 0.5), disparo: num(radios.disparo, 0.1), objeto: num(radios.objeto, 0.3) },
      robots: [], cuadros: [], sucesos: [] };
    var nombres = lista(d.robots);
    for (var i = 0; i < nombres.length; i++)
      p.robots.push({ nombre: String(nombres[i]), color: PALETA[i % PALETA.length] });
    var cuadros = lista(d.cuadros);
    for (var k = 0; k < cuadros.length; k++) {
      var c = cuadros[k] || {};
      var estados = lista(c.r).map(estadoRobot);
      while (p.robots.length < estados.length)
        p.robots.push({ nombre: 'robot ' + p.robots.length, color: PALETA[p.robots.length % PALETA.length] });
      var sucesos = lista(c.e).map(function (e) { return suceso(e, k); });
      p.cuadros.push({ j: num(c.j, 0), t: num(c.t, 0), robots: estados, disparos: lista(c.d).map(punto),
                       galletas: lista(c.g).map(punto), minas: lista(c.m).map(punto),
                       primerSuceso: p.sucesos.length, sucesos: sucesos });
      for (var n = 0; n < sucesos.length; n++) p.sucesos.push(sucesos[n]);
    }
    return p;
  }

  var NOMBRES_SUCESO = { disparo: 'dispara', impacto: 'recibe un disparo', pared: 'choca con la pared',
                         choque: 'choca con otro robot', galleta: 'toma una galleta', mina: 'pisa una mina',
                         muerte: 'muere', destruido: 'objeto destruido' };
  var DURACION_SUCESO = 0.4;  // seconds a mark stays on the canvas

  // A robot resting against a wall or another robot reports a harmless
  // collision every update: not worth a mark or a line.
  function relevante(s) {
    return !((s.tipo === 'pared' || s.tipo === 'choque') && s.valor < 0.05);
  }

  function Reproductor(partida, lienzo) {
    this.p = partida;
    this.lienzo = lienzo;
    this.ctx = lienzo.getContext('2d');
    this.cuadro = 0;
    this.reproduciendo = false;
    this.velocidad = 1;
    var l = partida.arena.limites;
    this.centro = [(l[0] + l[2]) / 2, (l[1] + l[3]) / 2];
    this.escala = Math.min((lienzo.width - 28) / (l[2] - l[0] + 1.2), (lienzo.height - 28) / (l[3] - l[1] + 1.2));
  }
  Reproductor.prototype.aLienzo = function (x, y) {
    return [this.lienzo.width / 2 + (x - this.centro[0]) * this.escala,
            this.lienzo.height / 2 - (y - this.centro[1]) * this.escala];
  };
  Reproductor.prototype.circulo = function (x, y, r, relleno, trazo, minimo, ancho) {
    var c = this.aLienzo(x, y), ctx = this.ctx;
    ctx.beginPath();
    ctx.arc(c[0], c[1], Math.max(r * this.escala, minimo || 0), 0, 2 * Math.PI);
    if (relleno) { ctx.fillStyle = relleno; ctx.fill(); }
    if (trazo) { ctx.lineWidth = ancho || 1; ctx.strokeStyle = trazo; ctx.stroke(); ctx.lineWidth = 1; }
  };
  Reproductor.prototype.linea = function (x, y, angulo, desde, hasta, color, ancho) {
    var a = this.aLienzo(x + Math.cos(angulo) * desde, y + Math.sin(angulo) * desde);
    var b = this.aLienzo(x + Math.cos(angulo) * hasta, y + Math.sin(angulo) * hasta);
    var ctx = this.ctx;
    ctx.beginPath();
    ctx.moveTo(a[0], a[1]);
    ctx.lineTo(b[0], b[1]);
    ctx.strokeStyle = color;
    ctx.lineWidth = ancho;
    ctx.lineCap = 'round';
    ctx.stroke();
    ctx.lineWidth = 1;
  };
  Reproductor.prototype.dibujarArena = function () {
    var ctx = this.ctx, a = this.p.arena, c = this.aLienzo(0, 0), m = a.medida * this.escala;
    ctx.fillStyle = '#ffffff';
    ctx.fillRect(0, 0, this.lienzo.width, this.lienzo.height);
    if (a.figuras.length) { this.dibujarFiguras(); return; }
    ctx.fillStyle = '#fbfaf5';
    ctx.strokeStyle = '#4a4a4a';
    ctx.lineWidth = 6;
    ctx.beginPath();
    if (a.forma === 'cuadrado') ctx.rect(c[0] - m - 3, c[1] - m - 3, 2 * m + 6, 2 * m + 6);
    else ctx.arc(c[0], c[1], m + 3, 0, 2 * Math.PI);
    ctx.fill();
    ctx.stroke();
    ctx.lineWidth = 1;
  };
  // Floor: the boundary, or the inside of an enclosing circle; then every
  // wall in the same dark grey: lines with square open ends, pillars, arcs.
  Reproductor.prototype.dibujarFiguras = function () {
    var ctx = this.ctx, e = this.escala, l = this.p.arena.limites, f = this.p.arena.figuras, i, v, p, q;
    var interiores = f.filter(function (x) { return x.tipo === 'i'; });
    ctx.fillStyle = '#d8d6cf';
    ctx.fillRect(0, 0, this.lienzo.width, this.lienzo.height);
    ctx.fillStyle = '#fbfaf5';
    if (interiores.length) {
      for (i = 0; i < interiores.length; i++) this.circulo(interiores[i].v[0], interiores[i].v[1], interiores[i].v[2], '#fbfaf5');
    } else {
      p = this.aLienzo(l[0], l[3]);
      ctx.fillRect(p[0], p[1], (l[2] - l[0]) * e, (l[3] - l[1]) * e);
    }
    ctx.strokeStyle = '#4a4a4a';
    ctx.fillStyle = '#4a4a4a';
    for (i = 0; i < f.length; i++) {
      v = f[i].v;
      if (f[i].tipo === 'l' && v.length >= 5) {
        p = this.aLienzo(v[0], v[1]); q = this.aLienzo(v[2], v[3]);
        ctx.beginPath(); ctx.moveTo(p[0], p[1]); ctx.lineTo(q[0], q[1]);
        ctx.lineWidth = Math.max(2, 2 * v[4] * e); ctx.lineCap = 'butt'; ctx.stroke();
      } else if (f[i].tipo === 'c' && v.length >= 3) {
        this.circulo(v[0], v[1], v[2], '#4a4a4a', null, 1);
      } else if (f[i].tipo === 'i' && v.length >= 3) {
        this.circulo(v[0], v[1], v[2], null, '#4a4a4a', 0, 3);
      } else if (f[i].tipo === 'a' && v.length >= 6) {
        p = this.aLienzo(v[0], v[1]);
        ctx.beginPath();
        ctx.arc(p[0], p[1], (v[2] + v[3]) / 2 * e, -v[4], -v[5], true);
        ctx.lineWidth = Math.max(2, (v[3] - v[2]) * e); ctx.lineCap = 'butt'; ctx.stroke();
      }
    }
    ctx.lineWidth = 1;
    ctx.lineCap = 'round';
  };
  Reproductor.prototype.dibujarRobot = function (r, datos) {
    if (!r) return;
    var radio = this.p.radios.robot;
    if (!r.vivo) {
      this.circulo(r.x, r.y, radio, '#e4e4e4', '#999999');
      var c = this.aLienzo(r.x, r.y), d = 0.6 * radio * this.escala, ctx = this.ctx;
      ctx.beginPath();
      ctx.moveTo(c[0] - d, c[1] - d); ctx.lineTo(c[0] + d, c[1] + d);
      ctx.moveTo(c[0] + d, c[1] - d); ctx.lineTo(c[0] - d, c[1] + d);
      ctx.strokeStyle = '#777777'; ctx.lineWidth = 2; ctx.stroke(); ctx.lineWidth = 1;
      return;
    }
    this.linea(r.x, r.y, r.radar, radio, radio + 4.0, 'rgba(40, 150, 40, 0.45)', 1.5);
    this.circulo(r.x, r.y, radio, datos.color, '#222222');
    this.linea(r.x, r.y, r.canon, 0, radio + 0.4, '#333333', Math.max(3, 0.16 * this.escala));
    this.linea(r.x, r.y, r.rumbo, 0, radio * 0.95, '#ffffff', 2.5);
    // Energy bar: a robot starts with 100 and holds at most 120.
    var e = Math.max(0, Math.min(1, r.energia / 120)), p = this.aLienzo(r.x - 0.6, r.y + radio + 0.45);
    var ancho = 1.2 * this.escala, ctx2 = this.ctx;
    ctx2.fillStyle = '#444444';
    ctx2.fillRect(p[0] - 1, p[1] - 1, ancho + 2, 6);
    ctx2.fillStyle = e > 0.5 ? '#3bb34a' : (e > 0.25 ? '#e0b020' : '#d9402b');
    ctx2.fillRect(p[0], p[1], ancho * e, 4);
  };
  Reproductor.prototype.dibujarSuceso = function (s, edad) {
    var f = Math.max(0, 1 - edad / DURACION_SUCESO), crece = 0.3 + 0.7 * (1 - f);
    var tipos = {
      impacto: ['rgba(220, 40, 20, ' + f + ')', 0.9], muerte: ['rgba(60, 60, 60, ' + f + ')', 1.6],
      disparo: ['rgba(240, 170, 0, ' + f + ')', 0.35], pared: ['rgba(120, 120, 120, ' + f + ')', 0.8],
      choque: ['rgba(150, 80, 0, ' + f + ')', 0.9], galleta: ['rgba(40, 170, 40, ' + f + ')', 0.9],
      mina: ['rgba(230, 90, 0, ' + f + ')', 1.2], destruido: ['rgba(120, 120, 120, ' + f + ')', 0.7] };
    var t = tipos[s.tipo];
    if (t) this.circulo(s.x, s.y, t[1] * crece, null, t[0], 2, 2.5);
  };
  Reproductor.prototype.dibujarSucesos = function () {
    var actual = this.p.cuadros[this.cuadro];
    for (var k = this.cuadro; k >= 0; k--) {
      var c = this.p.cuadros[k];
      if (c.j !== actual.j || actual.t - c.t > DURACION_SUCESO) break;
      for (var i = 0; i < c.sucesos.length; i++)
        if (relevante(c.sucesos[i])) this.dibujarSuceso(c.sucesos[i], actual.t - c.t);
    }
  };
  Reproductor.prototype.dibujar = function () {
    var c = this.p.cuadros[this.cuadro], i, rObj = this.p.radios.objeto;
    this.dibujarArena();
    if (!c) return;
    for (i = 0; i < c.galletas.length; i++) this.circulo(c.galletas[i].x, c.galletas[i].y, rObj, '#5cc85c', '#2f7a2f');
    for (i = 0; i < c.minas.length; i++) {
      this.circulo(c.minas[i].x, c.minas[i].y, rObj, '#3a3a3a', '#d9402b', 0, 2);
      this.circulo(c.minas[i].x, c.minas[i].y, rObj / 3, '#d9402b');
    }
    for (i = 0; i < c.robots.length; i++) this.dibujarRobot(c.robots[i], this.p.robots[i]);
    for (i = 0; i < c.disparos.length; i++) {
      // Stronger shots are drawn a little larger.
      var extra = Math.min(1.5, Math.sqrt(Math.max(0, c.disparos[i].energia)) / 4);
      this.circulo(c.disparos[i].x, c.disparos[i].y, this.p.radios.disparo, '#111111', null, 2 + extra);
    }
    this.dibujarSucesos();
    this.actualizarTextos(c);
  };
  Reproductor.prototype.actualizarTextos = function (c) {
    var juegos = this.p.cuadros[this.p.cuadros.length - 1].j + 1;
    document.getElementById('tiempo').textContent =
      (juegos > 1 ? 'juego ' + (c.j + 1) + ', ' : '') + 't = ' + c.t.toFixed(2) + ' s';
    for (var i = 0; i < this.p.robots.length; i++) {
      var casilla = document.getElementById('energia-robot-' + i);
      if (!casilla) continue;
      var r = c.robots[i];
      casilla.textContent = !r ? '-' : (r.vivo ? r.energia.toFixed(1) : 'muerto');
    }
    this.listarSucesos(c);
  };
  // The latest events of this game that are not shots, newest first.
  Reproductor.prototype.listarSucesos = function (c) {
    var lista = document.getElementById('sucesos');
    if (!lista) return;
    var lineas = [];
    for (var n = c.primerSuceso + c.sucesos.length - 1; n >= 0 && lineas.length < 8; n--) {
      var s = this.p.sucesos[n], cs = this.p.cuadros[s.cuadro];
      if (cs.j !== c.j) break;
      if (s.tipo === 'disparo' || !relevante(s)) continue;
      var quien = s.robot >= 0 && this.p.robots[s.robot] ? this.p.robots[s.robot].nombre + ' ' : '';
      var valor = s.tipo === 'muerte' ? ' (' + s.valor.toFixed(1) + ' puntos)' :
                  (s.tipo === 'destruido' ? '' : ' (' + s.valor.toFixed(1) + ')');
      lineas.push(cs.t.toFixed(2) + ' s  ' + quien + (NOMBRES_SUCESO[s.tipo] || s.tipo) + valor);
    }
    lista.textContent = lineas.join('\n');
  };
  Reproductor.prototype.irA = function (k) {
    this.cuadro = Math.max(0, Math.min(this.p.cuadros.length - 1, k | 0));
    document.getElementById('deslizador').value = String(this.cuadro);
    this.dibujar();
  };
  // Plays in game time; a new game starts from its own t = 0.
  Reproductor.prototype.avanzar = function (ahora) {
    if (!this.reproduciendo) return;
    var yo = this;
    if (this.ultimo !== undefined) {
      this.reloj += (ahora - this.ultimo) / 1000 * this.velocidad;
      var k = this.cuadro, c = this.p.cuadros;
      while (k + 1 < c.length && (c[k + 1].j !== c[k].j || c[k + 1].t - c[k].t <= this.reloj)) {
        this.reloj -= c[k + 1].j !== c[k].j ? this.reloj : c[k + 1].t - c[k].t;
        k++;
      }
      if (k !== this.cuadro) this.irA(k);
      if (k + 1 >= c.length) { this.pausar(); return; }
    }
    this.ultimo = ahora;
    requestAnimationFrame(function (t) { yo.avanzar(t); });
  };
  Reproductor.prototype.reproducir = function () {
    if (this.cuadro + 1 >= this.p.cuadros.length) this.irA(0);
    this.reproduciendo = true;
    this.ultimo = undefined;
    this.reloj = 0;
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
