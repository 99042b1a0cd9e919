#include "tools/Pasos.h"

#include <charconv>
#include <cstdio>

#include "games/Registro.h"

namespace {

// A whole decimal number of at most nine digits.
bool LeerNumero(std::string_view s, int& n) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  std::from_chars(s.data(), s.data() + s.size(), n);
  return true;
}

// "P" or "P.K".
bool LeerCarta(std::string_view s, int& pila, int& posicion) {
  const auto punto = s.find('.');
  if (punto == std::string_view::npos) {
    posicion = -1;
    return LeerNumero(s, pila);
  }
  return LeerNumero(s.substr(0, punto), pila) && LeerNumero(s.substr(punto + 1), posicion);
}

TPila* PilaNumero(TMesa& m, int n) {
  if (n < 1 || n > static_cast<int>(m.Pilas.size())) return nullptr;
  return m.Pilas[static_cast<std::size_t>(n - 1)].get();
}

TCarta* CartaEn(TPila& pila, int posicion) {
  if (posicion < 0) return pila.Tope;
  if (posicion >= pila.Cantidad) return nullptr;
  TCarta* c = pila.Tope;
  for (int i = pila.Cantidad - 1; c && i > posicion; --i) c = c->Debajo;
  return c;
}

bool Arrastrar(TMesa& m, TCarta& carta, TPila& destino) {
  if (!m.PresionarCarta(carta, TBoton::Izquierdo)) return false;
  const std::uint16_t antes = m.Movimientos;
  const TPila* desde = carta.Pila;
  if (destino.Tope) {
    TCarta& sobre = *destino.Tope;
    if (!m.ArrastrarSobreCarta(sobre, carta, 1, 1)) return false;
    m.SoltarEnCarta(sobre, carta, 1, 1);
  } else {
    if (&destino == desde || !m.ArrastrarSobrePila(destino, carta, 1, 1)) return false;
    m.SoltarEnPila(destino, carta, 1, 1);
  }
  return m.Movimientos != antes;
}

}  // namespace

std::optional<TPaso> LeerPaso(std::string_view t) {
  using T = TPaso::TTipo;
  if (t == "m") return TPaso{T::Mazo};
  if (t == "d") return TPaso{T::Deshacer};
  if (t == "i") return TPaso{T::Instantanea};
  if (t == "v") return TPaso{T::Volver};
  if (t == "r") return TPaso{T::Reiniciar};
  TPaso p{T::Arrastre};
  if (!t.empty() && t[0] == 'a') {
    p.Tipo = T::Automatico;
    if (!LeerCarta(t.substr(1), p.Pila, p.Posicion)) return std::nullopt;
    return p;
  }
  const auto flecha = t.find('>');
  if (flecha == std::string_view::npos) return std::nullopt;
  if (!LeerCarta(t.substr(0, flecha), p.Pila, p.Posicion) ||
      !LeerNumero(t.substr(flecha + 1), p.Destino))
    return std::nullopt;
  return p;
}

std::string EscribirPaso(const TPaso& p) {
  using T = TPaso::TTipo;
  const std::string carta =
      p.Posicion >= 0 ? std::to_string(p.Pila).append(".").append(std::to_string(p.Posicion))
                      : std::to_string(p.Pila);
  switch (p.Tipo) {
    case T::Arrastre: return carta + ">" + std::to_string(p.Destino);
    case T::Automatico: return std::string(1, 'a').append(carta);
    case T::Mazo: return "m";
    case T::Deshacer: return "d";
    case T::Instantanea: return "i";
    case T::Volver: return "v";
    case T::Reiniciar: return "r";
  }
  return {};
}

bool AplicarPaso(TMesa& m, const TPaso& p) {
  const bool hecho = HacerPaso(m, p);
  if (m.FinJuegoArmado) m.VerificarFinAhora();
  return hecho;
}

namespace {

bool RehacerUno(TMesa& m) {
  if (!m.PuedeRehacer()) return false;
  // The actions of one step were undone one by one: all of them go.
  auto resto = m.PorRehacer;
  const TMesa::TPorRehacer ultimo = resto.back();
  while (!resto.empty() && resto.back().Profundidad == ultimo.Profundidad) resto.pop_back();
  const auto paso = LeerPaso(ultimo.Paso);
  const bool hecho = paso && HacerPaso(m, *paso);
  // The step's new actions forgot the rest; what lies beyond it is still to redo.
  m.PorRehacer = hecho ? std::move(resto) : decltype(resto){};
  return hecho;
}

}  // namespace

bool Rehacer(TMesa& m) {
  if (!RehacerUno(m)) return false;
  // An automatic drop comes back whole, joined again as it was.
  while (m.PuedeRehacer() && m.PorRehacer.back().ConAnterior) {
    const int profundidad = m.ProfundidadHistorial();
    if (!RehacerUno(m)) break;
    if (m.ProfundidadHistorial() > profundidad) m.UnirConAnterior();
  }
  return true;
}

bool RepetirPasos(TMesa& m, const std::vector<std::string>& pasos,
                  const std::vector<std::size_t>& unidos) {
  auto siguiente = unidos.begin();
  for (std::size_t i = 0; i < pasos.size(); ++i) {
    const auto paso = LeerPaso(pasos[i]);
    const int profundidad = m.ProfundidadHistorial();
    if (!paso || !AplicarPaso(m, *paso)) return false;
    if (siguiente == unidos.end() || *siguiente != i) continue;
    if (m.ProfundidadHistorial() <= profundidad) return false;
    m.UnirConAnterior();
    ++siguiente;
  }
  return siguiente == unidos.end();
}

std::vector<TPaso> PasosLegales(TMesa& m, bool automaticos) {
  using T = TPaso::TTipo;
  std::vector<TPaso> r;
  if (m.Mazo && m.Mazo->EnMesa) r.push_back(TPaso{T::Mazo});
  for (const auto& p : m.Pilas) {
    int pos = p->Cantidad - 1;
    for (TCarta* c = p->Tope; c; c = c->Debajo, --pos) {
      if (!c->BocaArriba) continue;
      if (automaticos && !c->Encima) r.push_back(TPaso{T::Automatico, p->Numero});
      for (const auto& hacia : m.Pilas) {
        if (hacia.get() == p.get()) continue;
        const bool acepta = hacia->Tope ? m.ArrastrarSobreCarta(*hacia->Tope, *c, 1, 1)
                                        : m.ArrastrarSobrePila(*hacia, *c, 1, 1);
        if (acepta) r.push_back(TPaso{T::Arrastre, p->Numero, pos, hacia->Numero});
      }
    }
  }
  return r;
}

bool HacerPaso(TMesa& m, const TPaso& p) {
  using T = TPaso::TTipo;
  bool hecho = false;
  switch (p.Tipo) {
    case T::Arrastre: {
      TPila* desde = PilaNumero(m, p.Pila);
      TPila* hacia = PilaNumero(m, p.Destino);
      TCarta* carta = desde ? CartaEn(*desde, p.Posicion) : nullptr;
      hecho = carta && hacia && Arrastrar(m, *carta, *hacia);
      break;
    }
    case T::Automatico: {
      TPila* pila = PilaNumero(m, p.Pila);
      TCarta* carta = pila ? CartaEn(*pila, p.Posicion) : nullptr;
      if (carta) {
        const std::uint16_t antes = m.Movimientos;
        m.SoltarBotonCarta(*carta, TBoton::Derecho, false);
        hecho = m.Movimientos != antes;
      }
      break;
    }
    case T::Mazo:
      // A click on a visible stock always happens, even when it deals nothing.
      hecho = m.Mazo && m.Mazo->EnMesa;
      if (hecho) m.ClickMazo();
      break;
    case T::Deshacer:
      // Joined actions were written one "d" each.
      hecho = m.Historial != nullptr;
      m.DeshacerUna();
      break;
    case T::Instantanea:
      m.TomarInstantanea();
      hecho = true;
      break;
    case T::Volver:
      hecho = m.VolverHabilitado;
      if (hecho) m.VolverAInstantanea();
      break;
    case T::Reiniciar:
      m.Reiniciar();
      hecho = true;
      break;
  }
  return hecho;
}

std::string NotacionCarta(std::uint8_t palo, std::uint8_t numero, bool bocaArriba) {
  static const char arriba[] = "OCEB";
  static const char abajo[] = "oceb";
  return std::to_string(numero) + (bocaArriba ? arriba[palo & 3] : abajo[palo & 3]);
}

std::string NotacionCarta(const TCarta& c) { return NotacionCarta(c.Palo, c.Numero, c.BocaArriba); }

std::string EscaparJson(const std::string& s) {
  std::string r;
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      r += '\\';
      r += static_cast<char>(c);
    } else if (c < 0x20) {
      static const char hex[] = "0123456789abcdef";
      r += "\\u00";
      r += hex[c >> 4];
      r += hex[c & 15];
    } else {
      r += static_cast<char>(c);
    }
  }
  return r;
}

namespace {

// Length of the well-formed UTF-8 sequence at s[i] and its code point; 0 when the bytes
// there are not one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t SecuenciaUtf8(std::string_view s, std::size_t i, char32_t& punto) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char c = b(0);
  std::size_t largo;
  unsigned char minimo = 0x80, maximo = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    largo = 2;
    punto = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    largo = 3;
    punto = c & 0x0F;
    if (c == 0xE0) minimo = 0xA0;
    if (c == 0xED) maximo = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    largo = 4;
    punto = c & 0x07;
    if (c == 0xF0) minimo = 0x90;
    if (c == 0xF4) maximo = 0x8F;
  } else {
    return 0;
  }
  if (i + largo > s.size()) return 0;
  for (std::size_t k = 1; k < largo; ++k) {
    const unsigned char d = b(k);
    if (d < (k == 1 ? minimo : 0x80) || d > (k == 1 ? maximo : 0xBF)) return 0;
    punto = (punto << 6) | (d & 0x3F);
  }
  return largo;
}

// Code points that a terminal or a text view acts on instead of showing.
bool PuntoDeControl(char32_t p) {
  return (p >= 0x80 && p <= 0x9F) || p == 0x061C || p == 0x200E || p == 0x200F ||
         (p >= 0x2028 && p <= 0x202E) || (p >= 0x2066 && p <= 0x2069) || p == 0xFEFF;
}

}  // namespace

std::string EscaparTerminal(std::string_view s) {
  static const char hex[] = "0123456789ABCDEF";
  std::string r;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '\\') {
      r += "\\\\";
      ++i;
    } else if (c >= 0x20 && c < 0x7F) {
      r += static_cast<char>(c);
      ++i;
    } else if (char32_t punto = 0; std::size_t largo = c >= 0x80 ? SecuenciaUtf8(s, i, punto) : 0) {
      if (PuntoDeControl(punto)) {
        char texto[16];
        std::snprintf(texto, sizeof texto, "\\u{%04X}", static_cast<unsigned>(punto));
        r += texto;
      } else {
        r.append(s.substr(i, largo));
      }
      i += largo;
    } else {
      r += "\\x";
      r += hex[c >> 4];
      r += hex[c & 15];
      ++i;
    }
  }
  return r;
}

namespace {
std::string CartasEnJson(const TCarta* tope) {
  const TCarta* c = tope;
  while (c && c->Debajo) c = c->Debajo;
  std::string r = "[";
  for (; c; c = c->Encima) r += (r.size() > 1 ? ",\"" : "\"") + NotacionCarta(*c) + "\"";
  return r + "]";
}
}  // namespace

std::string MesaEnJson(const TMesa& m, bool ganado, const std::string& pasosJson) {
  std::string r = "{\"juego\":\"" + EscaparJson(m.NombreJuego) + "\",\"clave\":\"" +
                  EscaparJson(QuitarEspacios(m.NombreJuego)) + "\",\"numero\":" + std::to_string(m.NumeroJuego) +
                  ",\"movimientos\":" + std::to_string(m.Movimientos) +
                  ",\"ganado\":" + (ganado ? "true" : "false") + ",\"paneles\":[";
  for (std::size_t i = 0; i < m.Paneles.size(); ++i)
    r += (i ? ",\"" : "\"") + EscaparJson(m.Paneles[i]) + "\"";
  r += "],\"mazo\":" + CartasEnJson(m.Mazo ? m.Mazo->TopeMazo : nullptr) + ",\"pilas\":[";
  for (std::size_t i = 0; i < m.Pilas.size(); ++i) {
    const TPila& p = *m.Pilas[i];
    r += (i ? ",{" : "{") + std::string("\"n\":") + std::to_string(p.Numero) + ",\"grupo\":\"" +
         EscaparJson(p.Grupo ? p.Grupo->NombreGrupo : "") + "\",\"x\":" +
         std::to_string(p.XDiseno) + ",\"y\":" + std::to_string(p.YDiseno) +
         ",\"cartas\":" + CartasEnJson(p.Tope) + "}";
  }
  r += "]";
  if (!pasosJson.empty()) r += ",\"pasos\":" + pasosJson;
  return r + "}";
}
