#include "tests/soak/Oraculo.h"

#include <algorithm>
#include <array>
#include <functional>
#include <sstream>

namespace {

std::string NombreCarta(const TCarta& c) { return NotacionCarta(c); }

std::string TextoReutilizaciones(int r) {
  return r < 0 ? std::string("Reutilizaciones: ilimitadas")
               : "Reutilizaciones: " + std::to_string(r);
}

TPila* PilaNumero(TMesa& m, int n) {
  if (n < 1 || n > static_cast<int>(m.Pilas.size())) return nullptr;
  return m.Pilas[static_cast<std::size_t>(n - 1)].get();
}

// The card a step names, as the table tool finds it.
TCarta* CartaDelPaso(TMesa& m, const TPaso& p) {
  TPila* pila = PilaNumero(m, p.Pila);
  if (!pila) return nullptr;
  if (p.Posicion < 0) return pila->Tope;
  if (p.Posicion >= pila->Cantidad) return nullptr;
  TCarta* c = pila->Tope;
  for (int i = pila->Cantidad - 1; c && i > p.Posicion; --i) c = c->Debajo;
  return c;
}

// The pile that shows its count in panel 1, if the game has one.
const TPila* PilaDescarte(const TMesa& m) {
  for (const auto& p : m.Pilas)
    if (p->AlCambiar == MostrarDescarte) return p.get();
  return nullptr;
}

int Profundidad(const TMesa& m) {
  int n = 0;
  for (const TJugada* j = m.Historial; j && n <= 100000; j = j->Anterior) ++n;
  return n;
}

std::vector<const TCarta*> Tramo(const TCarta* c) {
  std::vector<const TCarta*> t;
  for (; c && t.size() <= 40; c = c->Encima) t.push_back(c);
  return t;
}

}  // namespace

std::string ComprobarMesa(const TMesa& m) {
  std::ostringstream e;
  if (m.Cartas.size() != 40) e << "hay " << m.Cartas.size() << " cartas, no 40; ";
  std::array<int, 40> caras{};
  for (const auto& c : m.Cartas) {
    if (c->Palo > 3 || c->Numero < 1 || c->Numero > 10) {
      e << "carta imposible " << int(c->Palo) << "/" << int(c->Numero) << "; ";
      continue;
    }
    if (++caras[c->ImagenCara()] == 2) e << "carta repetida " << NombreCarta(*c) << "; ";
  }
  // Each card seen once, on the pile it names.
  std::vector<int> vista(m.Cartas.size(), 0);
  auto indice = [&](const TCarta* c) -> int {
    for (std::size_t i = 0; i < m.Cartas.size(); ++i)
      if (m.Cartas[i].get() == c) return static_cast<int>(i);
    return -1;
  };
  for (const auto& p : m.Pilas) {
    const int n = p->Numero;
    if (p->Tope && p->Tope->Encima) e << "pila " << n << ": el tope tiene carta encima; ";
    if (p->Tope && !p->Tope->Visible) e << "pila " << n << ": el tope no se ve; ";
    unsigned k = 0;
    for (const TCarta* c = p->Tope; c && k <= 40; c = c->Debajo, ++k) {
      const int i = indice(c);
      if (i < 0) {
        e << "pila " << n << ": carta ajena a la mesa; ";
        break;
      }
      ++vista[static_cast<std::size_t>(i)];
      if (c->Pila != p.get()) e << "pila " << n << ": " << NombreCarta(*c) << " dice otra pila; ";
      if (c->Debajo && c->Debajo->Encima != c)
        e << "pila " << n << ": enlace roto bajo " << NombreCarta(*c) << "; ";
      if (c->Debajo && c->Debajo->Orden >= c->Orden)
        e << "pila " << n << ": " << NombreCarta(*c) << " no está delante de la de abajo; ";
      if (c->BocaArriba != (c->Imagen == TImagen{TTipoImagen::Cara, c->ImagenCara()}))
        e << "pila " << n << ": " << NombreCarta(*c) << " muestra otra imagen; ";
      // Places follow the group's offsets from the pile's own place.
      if (!c->Debajo) {
        if (c->Left != p->Left || c->Top != p->Top)
          e << "pila " << n << ": la carta de abajo no está en el lugar de la pila; ";
      } else if (p->Grupo && (c->Left != c->Debajo->Left + p->Grupo->DespX ||
                              c->Top != c->Debajo->Top + p->Grupo->DespY)) {
        e << "pila " << n << ": " << NombreCarta(*c) << " fuera de lugar; ";
      }
    }
    if (k != p->Cantidad) e << "pila " << n << ": Cantidad " << int(p->Cantidad) << " y hay " << k << "; ";
  }
  if (m.Mazo) {
    const TMazo& z = *m.Mazo;
    unsigned k = 0;
    const TCarta* fondo = nullptr;
    if (z.TopeMazo && z.TopeMazo->Encima) e << "mazo: el tope tiene carta encima; ";
    for (const TCarta* c = z.TopeMazo; c && k <= 40; c = c->Debajo, ++k) {
      const int i = indice(c);
      if (i < 0) {
        e << "mazo: carta ajena a la mesa; ";
        break;
      }
      ++vista[static_cast<std::size_t>(i)];
      fondo = c;
      if (c->Pila) e << "mazo: " << NombreCarta(*c) << " dice estar en una pila; ";
      if (c->BocaArriba) e << "mazo: " << NombreCarta(*c) << " boca arriba; ";
      if (c->Debajo && c->Debajo->Encima != c) e << "mazo: enlace roto; ";
      if (c->Debajo && c->Debajo->Orden >= c->Orden) e << "mazo: orden de apilado; ";
      if (z.EnMesa && c != z.TopeMazo && c->Debajo && c->Visible)
        e << "mazo: " << NombreCarta(*c) << " se ve entre el tope y el fondo; ";
    }
    if (k != z.CartasMazo) e << "mazo: CartasMazo " << int(z.CartasMazo) << " y hay " << k << "; ";
    if (z.EnMesa && z.TopeMazo) {
      const int d = z.CartasMazo > 1 ? 2 : 0;
      if (!z.TopeMazo->Visible || z.TopeMazo->Left != z.Left + d || z.TopeMazo->Top != z.Top + d)
        e << "mazo: el tope no se ve en su lugar; ";
      if (fondo && (!fondo->Visible || fondo->Left != z.Left || fondo->Top != z.Top))
        e << "mazo: el fondo no se ve en su lugar; ";
    }
    if (z.EnMesa && !z.TopeMazo) {
      const TImagen debida{TTipoImagen::Otros,
                           z.PuedeReutilizar() ? ImgMazoReutilizable : ImgMazoAgotado};
      if (!(z.Imagen == debida)) e << "mazo vacío con la imagen equivocada; ";
    }
    if (m.Paneles[PanelMazo] != "Mazo: " + std::to_string(z.CartasMazo))
      e << "panel 0 \"" << m.Paneles[PanelMazo] << "\" con " << int(z.CartasMazo) << " en el mazo; ";
    if (m.Paneles[PanelReutilizaciones] != TextoReutilizaciones(z.Reutilizaciones))
      e << "panel 2 \"" << m.Paneles[PanelReutilizaciones] << "\"; ";
  }
  for (std::size_t i = 0; i < vista.size(); ++i)
    if (vista[i] != 1)
      e << NombreCarta(*m.Cartas[i]) << " está " << vista[i] << " veces en la mesa; ";
  if (m.Paneles[PanelJuego] != "Juego #" + std::to_string(m.NumeroJuego) + " ")
    e << "panel 4 \"" << m.Paneles[PanelJuego] << "\"; ";
  return e.str();
}

TFotoMesa Fotografiar(const TMesa& m) {
  TFotoMesa f;
  for (const auto& c : m.Cartas) {
    int pos = 0;
    for (const TCarta* d = c->Debajo; d && pos <= 40; d = d->Debajo) ++pos;
    f.Cartas.push_back({c->Pila ? c->Pila->Numero : 0, pos, c->BocaArriba, c->Left, c->Top,
                        c->Visible, c->Imagen});
  }
  for (const auto& p : m.Pilas) f.Pilas.push_back({p->Left, p->Top, p->Visible, p->Imagen});
  for (const TGrupo* g : m.Grupos) {
    std::vector<const TGrupo*> o(g->Origenes.begin(), g->Origenes.end());
    std::sort(o.begin(), o.end(), std::less<>());
    f.Origenes.push_back(std::move(o));
  }
  if (m.Mazo) {
    f.CartasMazo = m.Mazo->CartasMazo;
    f.Reutilizaciones = m.Mazo->Reutilizaciones;
  }
  f.PanelMazo = m.Paneles[PanelMazo];
  f.PanelReutilizaciones = m.Paneles[PanelReutilizaciones];
  return f;
}

std::string CompararFotos(const TFotoMesa& a, const TFotoMesa& b) {
  std::ostringstream e;
  if (a.Cartas.size() != b.Cartas.size() || a.Pilas.size() != b.Pilas.size())
    return "la mesa cambió de tamaño; ";
  for (std::size_t i = 0; i < a.Cartas.size(); ++i) {
    const auto& x = a.Cartas[i];
    const auto& y = b.Cartas[i];
    if (x == y) continue;
    e << "carta " << i << ": pila " << x.Pila << "." << x.Posicion << (x.BocaArriba ? " arriba" : " abajo")
      << " (" << x.Left << "," << x.Top << ")" << (x.Visible ? " visible" : " oculta") << " y ahora pila "
      << y.Pila << "." << y.Posicion << (y.BocaArriba ? " arriba" : " abajo") << " (" << y.Left << ","
      << y.Top << ")" << (y.Visible ? " visible" : " oculta")
      << (x.Imagen == y.Imagen ? "" : ", otra imagen") << "; ";
  }
  for (std::size_t i = 0; i < a.Pilas.size(); ++i) {
    const auto& x = a.Pilas[i];
    const auto& y = b.Pilas[i];
    if (x.Left != y.Left || x.Top != y.Top || x.Visible != y.Visible || !(x.Imagen == y.Imagen))
      e << "pila " << i + 1 << " se ve distinta; ";
  }
  for (std::size_t i = 0; i < a.Origenes.size() && i < b.Origenes.size(); ++i)
    if (a.Origenes[i] != b.Origenes[i])
      e << "el grupo " << i << " (el más nuevo es 0) acepta otros orígenes: " << a.Origenes[i].size()
        << " y ahora " << b.Origenes[i].size() << "; ";
  if (a.CartasMazo != b.CartasMazo) e << "mazo " << a.CartasMazo << " y ahora " << b.CartasMazo << "; ";
  if (a.Reutilizaciones != b.Reutilizaciones) e << "reutilizaciones distintas; ";
  if (a.PanelMazo != b.PanelMazo || a.PanelReutilizaciones != b.PanelReutilizaciones)
    e << "paneles distintos; ";
  return e.str();
}

std::string TOraculo::Comenzar(const TMesa& m) {
  repartida_ = Fotografiar(m);
  acciones_.clear();
  instantanea_ = 0;
  volverHabilitado_ = m.VolverHabilitado;  // a new deal leaves the button as it was
  movimientos_ = 0;
  puntosEscritos_ = false;
  descarteEscrito_ = false;
  pasos_.clear();
  std::string e = ComprobarMesa(m);
  if (m.Movimientos != 0 || m.Historial) e += "la mesa repartida ya tiene jugadas; ";
  return e;
}

unsigned TOraculo::deshacerModelo() {
  if (acciones_.empty()) return 0;
  const TAccion a = acciones_.back();
  acciones_.pop_back();
  if (a.Id == instantanea_) volverHabilitado_ = false;
  return a.Movimientos;
}

std::string TOraculo::Aplicar(TMesa& m, const TPaso& p) {
  using T = TPaso::TTipo;
  pasos_ += (pasos_.empty() ? "" : " ") + EscribirPaso(p);

  TCarta* carta = (p.Tipo == T::Arrastre || p.Tipo == T::Automatico) ? CartaDelPaso(m, p) : nullptr;
  const TPila* pilaAntes = carta ? carta->Pila : nullptr;
  const std::vector<const TCarta*> tramo = Tramo(carta);
  const int mazoAntes = m.Mazo ? m.Mazo->CartasMazo : 0;
  const int reutAntes = m.Mazo ? m.Mazo->Reutilizaciones : 0;
  const bool podiaReutilizar = m.Mazo && m.Mazo->PuedeReutilizar();
  const TPila* descarte = PilaDescarte(m);
  const int descarteAntes = descarte ? descarte->Cantidad : 0;
  const int wasteAntes = m.Mazo && m.Mazo->Descarte ? m.Mazo->Descarte->Cantidad : 0;
  const TJugada* historialAntes = m.Historial;
  const std::uint16_t movAntes = m.Movimientos;

  const bool hecho = AplicarPaso(m, p);

  std::ostringstream e;
  unsigned cuenta = 0;
  switch (p.Tipo) {
    case T::Arrastre:
    case T::Automatico: {
      const bool movida = carta && carta->Pila != pilaAntes;
      if (movida != hecho) e << "el paso dice " << hecho << " y la carta se movió: " << movida << "; ";
      if (!movida) {
        if (m.Historial != historialAntes || m.Movimientos != movAntes)
          e << "un movimiento rechazado dejó rastro; ";
        break;
      }
      if (p.Tipo == T::Arrastre && carta->Pila != PilaNumero(m, p.Destino))
        e << "la carta fue a otra pila que la pedida; ";
      // The whole run moved, in order, onto the top of its new pile.
      const TCarta* c = carta->Pila ? carta->Pila->Tope : nullptr;
      for (std::size_t i = tramo.size(); i-- > 0; c = c ? c->Debajo : nullptr)
        if (c != tramo[i]) {
          e << "el tramo no llegó entero; ";
          break;
        }
      acciones_.push_back({proximoId_++, 1});
      cuenta = 1;
      break;
    }
    case T::Mazo: {
      if (!m.Mazo || !m.Mazo->EnMesa) break;
      if (mazoAntes > 0) {
        int resto = mazoAntes;
        for (const TDestino& d : m.Mazo->Destinos) {
          const int k = std::min<int>(d.Cantidad, resto);
          resto -= k;
          if (k > 0) acciones_.push_back({proximoId_++, static_cast<unsigned>(k)});
          cuenta += static_cast<unsigned>(k);
        }
        if (m.Mazo->CartasMazo != resto) e << "el mazo repartió " << mazoAntes - m.Mazo->CartasMazo << " cartas; ";
      } else if (podiaReutilizar) {
        acciones_.push_back({proximoId_++, static_cast<unsigned>(wasteAntes)});
        if (m.Mazo->CartasMazo != wasteAntes) e << "la reutilización no devolvió el descarte entero; ";
        if (m.Mazo->Descarte && m.Mazo->Descarte->Cantidad != 0) e << "el descarte quedó con cartas; ";
        if (m.Mazo->Reutilizaciones != (reutAntes < 0 ? reutAntes : reutAntes - 1))
          e << "reutilizaciones " << int(m.Mazo->Reutilizaciones) << " tras " << reutAntes << "; ";
        descarteEscrito_ = true;
      } else if (m.Historial != historialAntes) {
        e << "un mazo agotado registró una jugada; ";
      }
      break;
    }
    case T::Deshacer:
      cuenta = deshacerModelo();
      break;
    case T::Instantanea:
      instantanea_ = acciones_.empty() ? 0 : acciones_.back().Id;
      volverHabilitado_ = true;
      break;
    case T::Volver:
      if (!volverHabilitado_) {
        if (hecho) e << "se volvió a la instantánea con el botón apagado; ";
        break;
      }
      while (!acciones_.empty() && acciones_.back().Id != instantanea_) cuenta += deshacerModelo();
      volverHabilitado_ = false;
      break;
    case T::Reiniciar:
      while (!acciones_.empty()) deshacerModelo();
      instantanea_ = 0;
      movimientos_ = 0;
      puntosEscritos_ = false;
      break;
  }
  movimientos_ = static_cast<std::uint16_t>(movimientos_ + cuenta);
  if (cuenta > 0) puntosEscritos_ = true;
  if (descarte && descarte->Cantidad != descarteAntes) descarteEscrito_ = true;

  std::string errores = e.str() + comprobarModelo(m) + ComprobarMesa(m);
  return errores;
}

std::string TOraculo::comprobarModelo(const TMesa& m) const {
  std::ostringstream e;
  if (m.Movimientos != movimientos_)
    e << "Movimientos " << m.Movimientos << " y las reglas dan " << movimientos_ << "; ";
  if (m.VolverHabilitado != volverHabilitado_)
    e << "volver a la instantánea " << (m.VolverHabilitado ? "habilitado" : "apagado") << "; ";
  if (Profundidad(m) != static_cast<int>(acciones_.size()))
    e << "el historial tiene " << Profundidad(m) << " jugadas y debían ser " << acciones_.size() << "; ";
  // Points: the minutes plus 1.5 x moves rounded down; "---" until something counts.
  const std::string puntos =
      puntosEscritos_ ? "Puntos (" + std::to_string(m.Minutos) + "/" + std::to_string(movimientos_) +
                            "): " + std::to_string(m.Minutos + movimientos_ * 3ull / 2)
                      : std::string("Puntos (0/0): ---");
  if (m.Paneles[PanelPuntos] != puntos) e << "panel 3 \"" << m.Paneles[PanelPuntos] << "\" y debía ser \"" << puntos << "\"; ";
  const TPila* descarte = PilaDescarte(m);
  if (descarte && descarteEscrito_ &&
      m.Paneles[PanelDescarte] != "Descarte: " + std::to_string(descarte->Cantidad))
    e << "panel 1 \"" << m.Paneles[PanelDescarte] << "\" con " << int(descarte->Cantidad) << " en el descarte; ";
  return e.str();
}

std::string TOraculo::DeshacerTodo(TMesa& m) {
  // Through the undo step itself, so that the undos are checked and replay too.
  for (int vueltas = 0; m.Historial && vueltas < 100000; ++vueltas) {
    std::string e = Aplicar(m, TPaso{TPaso::TTipo::Deshacer});
    if (!e.empty()) return e;
  }
  std::string e;
  if (!acciones_.empty()) e += "quedaron " + std::to_string(acciones_.size()) + " jugadas en el modelo; ";
  return e + CompararFotos(repartida_, Fotografiar(m));
}
