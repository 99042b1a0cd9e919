// The search over the drags the table's drag-over decisions accept and the stock click,
// each played through the table tool's steps on a private table, positions restored from
// the search's own snapshots and remembered by key. Best-first while half the memory
// holds its open positions, each with its snapshot, and they leave the table of keys room
// for the largest size the limit holds; then depth-first from each of
// those, the best first, keeping only the path: per position on it one snapshot and the
// moves to its children, each child played again when its turn comes. Resolver tries it
// short first, then depth-first from the start, then to the end (afresh, without counting
// empty piles, where empty piles take cards; where they take any card, after a while
// afresh again, cards in order weighing more).
#include "solver/Solucionador.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "solver/Altas.h"
#include "solver/AltasConMazo.h"
#include "solver/Aparcadas.h"
#include "solver/Bloqueos.h"
#include "solver/Celdas.h"
#include "solver/Clics.h"
#include "solver/Cola.h"
#include "solver/Desentierro.h"
#include "solver/Encalladas.h"
#include "solver/Estorbos.h"
#include "solver/Fondos.h"
#include "solver/Libres.h"
#include "solver/Palos.h"
#include "solver/Parejas.h"
#include "solver/Rachas.h"
#include "solver/Reglas.h"
#include "solver/Rinde.h"
#include "solver/Seguras.h"
#include "solver/SinSalida.h"
#include "solver/Sitios.h"
#include "solver/Sueltas.h"
#include "solver/Trabadas.h"
#include "solver/Transposiciones.h"
#include "solver/Trozos.h"
#include "solver/Vueltas.h"

namespace {

// Whether some pile off the foundations, once empty, may take a card: then how many are
// empty weighs in a position's value.
bool VaciasTomanCartas(const TMesa& m, const std::vector<std::uint64_t>& vacia) {
  if (m.PuedeOcuparVacia != OcuparPorReglas) return true;
  for (std::size_t g = 0; g < m.Grupos.size(); ++g)
    if (!m.Grupos[g]->EsFundacion && vacia[g] != 0) return true;
  return false;
}

// Whether the stock deals one card to its waste alone and turns round without end, on a
// table without hooks, and no pile of the waste's group takes cards from that group: then
// the search reads the waste and the stock as one round whose cut is no part of a position.
bool MazoQueGira(const TMesa& m) {
  if (!m.Mazo || TieneGanchos(m) || !m.Mazo->EnMesa || m.Mazo->Reutilizaciones != -1 ||
      m.Mazo->Destinos.size() != 1 || m.Mazo->Destinos[0].Cantidad != 1 ||
      m.Mazo->Destinos[0].Pila != m.Mazo->Descarte || !m.Mazo->Descarte)
    return false;
  const TGrupo* descarte = m.Mazo->Descarte->Grupo;
  if (!descarte->Origenes.empty()) return false;
  for (const TGrupo* g : m.Grupos)
    for (const TGrupo* o : g->Origenes)
      if (o == descarte && g == descarte) return false;
  return true;
}

constexpr std::uint8_t kBocaArriba = 0x40;
constexpr std::uint8_t kMazo = 0xFF;  // a move that is the stock click

std::uint64_t Mezclar(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  x ^= x >> 33;
  return x;
}

// Processor time of the calling thread: the limits and the times reported count the work
// the search did on its core, so a busy machine does not turn a verdict into "no se sabe".
std::int64_t MsDelHilo() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

struct TMovimiento {
  std::uint8_t Pila;      // index into the table's piles; kMazo for the stock click
  std::uint8_t Posicion;  // of the card dragged, 0 is the bottom card
  std::uint8_t Destino;
  std::uint8_t Carta;
  // Nothing but the card and its run changed place: dragging it straight back would give
  // the position before.
  bool Puro;
  std::uint8_t Clics = 0;  // stock clicks played first, on a table whose stock turns round
};

// What hooks may change besides the cards: every pile's group and every group's origins.
struct TEstructura {
  std::string Firma;  // group indices, as bytes
  std::vector<TGrupo*> Grupos;                 // per pile
  std::vector<std::vector<TGrupo*>> Origenes;  // per group of the table
  std::vector<TGrupo*> DeLaMesa;               // the table's groups, in its order
  std::vector<std::uint16_t> Clase;            // per pile: interchangeable piles share it
  std::vector<std::uint8_t> EsFundacion;       // per pile
  // Per pile: a foundation, a pile that holds one suit in order as foundations do (a pile
  // turned into a foundation), or a pile no card leaves; moves there are tried first.
  std::vector<std::uint8_t> EsCasa;
  // Per pile: of those, a pile no card leaves whose group is not marked a foundation.
  std::vector<std::uint8_t> Sumidero;
  // Per pair of piles, [desde * piles + hacia]: the second lists the first's group among
  // its origins.
  std::vector<std::uint8_t> TomaDe;
  // The same per pile that gives the cards, as bits by the pile that takes them (up to
  // 64 piles).
  std::vector<std::uint64_t> TomaDeBits;
};

// A position the best-first part reached: where it came from, how, and its snapshot in
// the arena.
struct TNodo {
  std::uint32_t Padre;
  TMovimiento Mov;
  // The parent was read, or known, to hold no card stuck for good (Encalladas.h).
  bool PadreSinEncalladas = false;
};
static_assert(sizeof(TNodo) == 12, "the mark lies in the node's padding");

// One position on the depth-first path: the moves to its children not seen before,
// [Inicio, Fin) of the stack of moves, tried in order; the one before Siguiente is the
// next position on the path.
struct TNivel {
  std::uint32_t Inicio;
  std::uint32_t Siguiente;
  std::uint32_t Fin;
  bool SinEncalladas = false;  // as TNodo's mark, for this position's children
};

// The high cards' games where runs move and the stock turns round (AltasConMazo.h), from
// the position searched, shared by the tries that search it: a game settled is not played
// again, one left open goes on where it stopped.
struct TConMazo {
  std::unique_ptr<TJuegoDeAltasConMazo> Juego;
  std::uint64_t Veces;  // it sees at most the tries' positions times this
  std::uint64_t Desde;  // read once the tries have expanded so many
};
struct TConMazoComun {
  bool Leido = false;
  std::array<TConMazo, 3> Juegos;
  std::uint64_t Posiciones = 0;  // the tries' positions, counted a stretch at a time
};

class TBusqueda {
 public:
  // `enProfundidad`: depth-first from the start. `ajenos`: bytes of the memory limit that
  // another search holds.
  TBusqueda(TMesa& m, const TLimites& limites, std::stop_token parar, bool prever,
            bool enProfundidad, std::size_t ajenos = 0)
      : m_(m),
        prever_(prever),
        comprobar_(limites.Comprobar),
        parar_(std::move(parar)),
        limiteMs_(limites.Milisegundos),
        // A thirty-second of the limit is left for what the counts do not see: the
        // allocator's own bookkeeping, the table and the program itself.
        limiteBytes_((limites.MemoriaMiB * std::size_t{1024} * 1024 -
                      std::min(ajenos, limites.MemoriaMiB * std::size_t{1024} * 1024)) / 32 * 31),
        limitePosiciones_(limites.Posiciones),
        vistas_(limiteBytes_),
        enProfundidad_(enProfundidad) {
    // The largest table of keys the limit holds with an eighth or more left for the rest,
    // and a thirty-second of the limit for the depth-first path and the moves.
    std::size_t tabla = vistas_.BytesMaximos();
    while (tabla > limiteBytes_ / 8 * 7) tabla /= 2;
    restoPlaneado_ = limiteBytes_ - tabla - limiteBytes_ / 32;
  }

  // Searches until a verdict or a limit; with a pause (positions), stops between two
  // positions once it is reached, to go on at the next call.
  TResultado Buscar(std::uint64_t pausaPosiciones = 0);
  bool Pausada() const { return pausada_; }
  // The high cards' games with the stock of another try of the same position.
  void CompartirConMazo(std::shared_ptr<TConMazoComun> c) { conMazo_ = std::move(c); }
  // Whether it ran dry having left out some card it could take back from home: then the
  // positions it searched are not all there are, and it proves nothing lost.
  bool SinAcabar() const { return vueltaOmitida_; }
  // Without taking cards back from home: a search of the positions reached by the other
  // moves, which wins where those win.
  void SinVueltas() { sinVueltas_ = true; }
  // Stock clicks joined to the waste's next drag where the table allows it (Clics.h);
  // asked before the first call.
  void ClicsJuntos() { clicsJuntos_ = true; }
  // The game of the wanted rank (Desentierro.h) played at every child made, not only at
  // the position searched: for the try that searches to the end, which proves deals lost;
  // the tries before it look for early wins, where it costs more than it saves.
  void DesenterrarHijas() { desenterrarHijas_ = true; }
  // New limits for the next call, counted from where the search stands.
  void Limitar(std::int64_t ms, std::uint64_t posiciones) {
    limiteMs_ = ms;
    limitePosiciones_ = posiciones ? r_.Posiciones + posiciones : 0;
  }
  std::size_t Bytes() const { return BytesEnUso(); }
  // What an empty pile adds to a position's value from now on; the queued positions are
  // valued again.
  void PesarVacias(std::int32_t peso) {
    pesoVacia_ = peso;
    Revalorar();
  }
  // Whether a pile no card leaves counts its cards as home in a position's value; without,
  // they count as cards lying in order on any other pile.
  void SumiderosEnCasa(bool si) {
    sumiderosEnCasa_ = si;
    Revalorar();
  }
  // Best-first only for that many positions, then depth-first from the queued positions,
  // the best first; 0 leaves best-first until half the memory.
  void ProfundizarTras(std::uint64_t posiciones) { profundizarTras_ = posiciones; }
  // What a card adds to a position's value where it lies on a card its pile's rules let
  // it lie on.
  void PesarOrden(std::int32_t peso) {
    pesoOrden_ = peso;
    Revalorar();
  }
  // What a card home adds to a position's value.
  void PesarCasa(std::int32_t peso) {
    pesoCasa_ = peso;
    Revalorar();
  }
  // What an empty pile of one card (a free cell) adds to a position's value, apart from
  // the other empty piles.
  void PesarCeldas(std::int32_t peso) {
    pesoCelda_ = peso;
    Revalorar();
  }
  // What each card in the way (Estorbos.h) takes from a position's value.
  void PesarEstorbos(std::int32_t peso) {
    pesoEstorbo_ = peso;
    Revalorar();
  }

 private:
  // Each queued position's value is its snapshot's under the weights of the moment: a
  // position popped passes it on to its children (ValorTras).
  void Revalorar() {
    cola_.Revalorar([this](std::uint32_t nodo) { return Valor(Foto(nodo)); });
  }
  TMesa& m_;
  // Drags on a table without callbacks: the child's key worked out from the snapshot, and
  // a child seen before is never played. `comprobar_` plays it all the same and compares.
  bool prever_;
  bool comprobar_;
  std::stop_token parar_;
  std::int64_t limiteMs_;
  std::size_t limiteBytes_;
  std::size_t restoPlaneado_ = 0;  // what best-first may hold besides the keys
  std::uint64_t limitePosiciones_;
  TTransposiciones vistas_;
  std::int64_t inicio_ = MsDelHilo();  // of this call
  std::int64_t msAntes_ = 0;           // taken by the calls before
  bool enProfundidad_;
  bool iniciada_ = false;
  bool pausada_ = false;
  std::int32_t pesoVacia_ = 20;
  std::int32_t pesoOrden_ = 5;
  std::int32_t pesoCasa_ = 1000;
  std::optional<std::int32_t> pesoCelda_;  // none: as other empty piles
  std::int32_t pesoEstorbo_ = 0;
  std::array<std::int8_t, 40> ordenCasa_{};  // OrdenEnCasa (Estorbos.h)
  bool sumiderosEnCasa_ = true;
  std::uint64_t profundizarTras_ = 0;
  bool sinVueltas_ = false;
  bool vueltaOmitida_ = false;

  std::vector<TPila*> pilas_;
  std::array<TCarta*, 40> porId_{};
  std::size_t tamFoto_ = 0;
  bool conGanchos_ = false;
  // The same, for the decisions about piles with cards and about empty ones: where it is
  // false, the engine's default rule functions decide, whose conditions are read as data.
  bool ganchosApila_ = false;
  bool ganchosVacia_ = false;
  // Whether the engine's default function decides each kind of drop, callbacks aside.
  bool apilaPorDefecto_ = false;
  bool ocupaPorDefecto_ = false;
  bool fundaPorDefecto_ = false;
  std::vector<std::uint8_t> esMazo_;  // piles whose drag-over decision is the stock's own
  // Callbacks of piles or cards, which may change groups and origins as cards come and
  // go. Rule functions only decide: without callbacks a move changes no more than the
  // piles it touches.
  bool conLlamadas_ = false;
  std::vector<std::uint8_t> especial_;  // piles the stock deals to, or its waste
  bool sinPalos_ = false;       // no rule reads a card's suit: keys by ranks
  // A stock that deals one card at a time to its waste, the waste taking nothing else, and
  // redeals without end, on a table without hooks: the clicks only turn the stock and the
  // waste round one sequence (the waste from its bottom, then the stock from its top), so
  // every position that differs only in where that sequence is cut reaches every other by
  // clicks alone, and they are one position to the search. Its key holds the sequence, not
  // the cut; a position's moves are its drags and, after each number of clicks, the drags
  // of the waste's top card.
  bool giratorio_ = false;
  std::size_t descarte_ = 0;  // the waste's index, where the stock turns round
  std::array<std::vector<std::uint8_t>, 2> giros_;  // the stock turned, by turns
  // Where clicks are joined to the waste's next drag (Clics.h), the pile the stock deals
  // to; SIZE_MAX elsewhere.
  std::size_t descarteClics_ = SIZE_MAX;
  bool clicsJuntos_ = false;  // asked for; else every click is a move of its own
  std::vector<std::uint8_t> clicada_;  // the stock and its waste after a move's clicks
  // What Generar found of the piles that may take each card, for the waste's cards.
  bool giroPorBits_ = false;
  std::array<std::uint64_t, 40> destinosGiro_{};
  std::uint64_t desdeDescarte_ = 0;  // the piles that take cards from the waste
  // Per group, on such a table, whether a waste's card laid on one of its piles need only
  // be laid there when a card is laid on it next (Generar).
  std::vector<std::uint8_t> perezoso_;

  std::vector<TEstructura> estructuras_;
  std::map<std::string, std::uint16_t> indice_;
  std::uint16_t actual_ = 0;  // the structure the table has now
  std::string firma_;

  bool seguroPosible_ = false;
  bool libresPosibles_ = false;  // on a table without hooks, where LibresPosibles holds
  std::array<std::uint64_t, 40> necesita_{};  // cards that could lie on each card
  // Where foundations give cards back, the safe moves home of Vueltas.h.
  TSegurasConVuelta vuelta_;
  TBloqueos bloqueos_;  // where Posible, positions with a card stuck for good are lost
  // Where foundations give cards back, the same for cards that never leave their places
  // (Trabadas.h).
  TTrabadas trabadas_;
  TRachas rachas_;  // where Posible, positions whose next card home never comes free are lost
  TRachasRecordadas rachasRecordadas_;  // that reading's answers, kept by what it reads
  // Where runs are read, positions whose wanted rank no play brings to a top are lost.
  TDesentierro desentierro_;
  // Whether either reading proves the position in `foto` lost.
  // `raiz`: the position searched, where the game is read further.
  // The game is played at the position searched and, where asked, at every child made.
  bool SinSitioNiSalida(const std::uint8_t* foto, bool raiz) {
    const std::size_t np = pilas_.size();
    return rachasRecordadas_.SinSitio(rachas_, foto, foto + np + 1, foto[np], foto[np + 41]) ||
           ((raiz || desenterrarHijas_) &&
            desentierro_.SinSalida(rachas_, foto, foto + np + 1, foto[np], foto[np + 41], raiz));
  }
  bool desenterrarHijas_ = false;
  // Per group: a pile's lone card need not be laid on another pile of the group (Fondos.h).
  std::vector<std::uint8_t> fondosQuietos_;
  bool fondosSoloACasa_ = false;  // FondosSoloACasa (Fondos.h)

  TReglasComoDatos reglas_;
  // Per group, per card: the cards that lie in order on it in a position's value (ValorPila).
  std::vector<std::array<std::uint64_t, 40>> enOrden_;
  // Where the table's own stacking function pairs cards of a rank (Parejas.h) and no empty
  // pile off the foundations takes a card: among positions of equal value, those with more
  // piles lying in order from the bottom up come first (ValorPila).
  bool desempate_ = false;
  // Read once the search has taken some thousands of positions or asked the functions
  // some hundred thousand times: reading takes a few milliseconds, more than a small
  // search does; the moves are the same either way.
  TGanchosComoDatos ganchos_;
  bool ganchosLeidos_ = false;
  bool ganchosFiltro_ = false;  // whether ganchos_ has been read
  // Where ganchos_ is read a top card at a time (a table with callbacks).
  std::unique_ptr<TGanchosPorTope> porTope_;
  // The questions put to the table's decisions in AceptaEn, while that matters: without
  // the reading, most of them are refused (Solitario De Los Casi 14 Montones: some 560 a
  // position, three in four refused).
  std::uint64_t preguntas_ = 0;
  static constexpr std::uint64_t kPreguntasAntesDeLeer = 250000;
  // Where only single cards move and piles take cards as SinSalida.h reads them: per
  // card, the cards that could take it; per pile, the count at which it takes nothing.
  TSinSalida sinSalida_;
  std::vector<std::uint8_t> llena_;
  void PrepararSinSalida(const TGanchosComoDatos* ganchos);

  // Best-first: every position reached, in order, its node and, in blocks, its snapshot.
  // The queue holds those not yet expanded, the best first and, among equals, the newest.
  std::deque<TNodo> nodos_;  // deques grow by blocks, never copying what they hold
  std::vector<std::uint8_t*> bloques_;  // cut by trozos_
  static constexpr std::size_t kPorBloque = 1u << 10;
  TTrozos trozos_{0};
  static constexpr std::size_t kBloqueDeque = 512;  // elements a deque may hold in advance
  TCola cola_;
  std::uint32_t raiz_ = 0;  // the queued position the depth-first part started from

  // Depth-first: per position on the path, its level and, in blocks, its snapshot (the
  // blocks stay once taken); the moves to the children of them all, a stack.
  std::deque<TNivel> niveles_;
  std::deque<TMovimiento> pendientes_;
  // Beside each, the value of the child it leads to where that is a drag keyed by parts:
  // Hundir hands it on, and the child's own children are valued from it by their two
  // piles (ValorTras) rather than whole; else kSinValor.
  std::deque<std::int32_t> valoresPendientes_;
  static constexpr std::int32_t kSinValor = INT32_MIN;
  // Where ties are broken: the weights' scale. Values differ by a multiple of 5 (the least
  // weight), 320 once scaled: more than the piles of any table here, one each.
  static constexpr std::int32_t kEscalaDesempate = 64;
  std::int32_t EscalaValor() const { return desempate_ ? kEscalaDesempate : 1; }
  std::vector<std::unique_ptr<std::uint8_t[]>> bloquesNivel_;
  static constexpr std::size_t kPorBloqueNivel = 1u << 12;
  // Per position on the path, where drags change no more than their two piles, its piles'
  // keys and then its own, noted when it was expanded: a child played again from it has
  // its key from them and the two piles the drag changed, not from every pile hashed
  // again. In blocks of their own, smaller than the snapshots' (a level's keys outweigh
  // its snapshot), taken with them.
  std::vector<std::unique_ptr<TClave[]>> bloquesClaves_;
  static constexpr std::size_t kPorBloqueClaves = 1u << 8;
  std::vector<std::uint8_t> hija_;  // a child's snapshot, for its key and value
  // The snapshot the table holds, as Leer read it or Escribir wrote it; null once a move
  // was played since. Escribir then puts back only what differs from it.
  const std::uint8_t* enMesa_ = nullptr;
  std::vector<std::pair<std::int32_t, std::uint32_t>> orden_;  // children by value
  std::vector<TMovimiento> movs_;  // the moves of the position being expanded
  std::vector<TClave> previstas_;  // their children's keys, where foreseen
  TResultado r_;
  std::array<std::vector<TMovimiento>, 5> cubos_;
  std::array<std::uint32_t, 256> claseVacia_{};
  // What PrepararDestinos found of the position being expanded, for Generar.
  struct TDestinos {
    std::uint64_t Fuera = 0;  // cards not home, where a safe move home is possible
    std::array<std::uint64_t, 256> Admite{};  // per pile, the cards it may take, as bits
    std::array<bool, 256> PorDatos{};  // per pile, whether the group's rules bound its decision
    bool TodoPorDatos = false;
    bool PorBits = false;
    std::array<std::uint64_t, 40> Destinos{};  // per card, the piles that may take it
    std::uint64_t ParaTodas = 0;               // piles that may take any card
    std::uint64_t TomanAlguna = 0;             // piles that may take some card
    std::uint64_t PorReglas = 0;  // the piles of PorDatos, as bits
    bool Tramos = true;  // whether some pile may take a card with cards on it
    std::uint64_t Libres = 0;  // cards that go home the moment they are free (Libres.h)
    // The bottom cards of the piles off the foundations, where FondosLeidos: LeerLibres
    // reads them for the free cards, and Generar's safe moves home take them from here.
    std::uint64_t Fondos = 0;
    bool FondosLeidos = false;
    bool LibresLeidas = true;  // whether Libres and Fondos are this position's yet
    // Per group whose piles are perezoso_: the cards that could be laid at once on a waste's
    // card laid on one of its piles (Generar).
    std::vector<std::uint64_t> Siguen;
    // The cards home, where Bloqueada read them from this snapshot just before.
    const std::uint8_t* EnCasaDe = nullptr;
    std::uint64_t EnCasa = 0;
  } prep_;
  std::uint32_t sello_ = 0;
  // The snapshot being expanded: where each pile's cards start and each pile's key.
  std::array<std::uint8_t, 257> inicioPila_{};
  std::array<TClave, 257> clavePila_{};
  // Where children are read whole (tables with callbacks), each pile's share of the value
  // of the snapshot being expanded, beside clavePila_; and whether those hold it.
  std::array<std::int32_t, 257> valorPila_{};
  bool padreAnotado_ = false;
  // The two piles' keys LeerTras worked out last, the lower pile's first.
  std::array<TClave, 2> trasLeer_{};
  // Each position expanded gets a new stamp: what is worked out once for its children
  // is marked with it.
  std::uint32_t selloPadre_ = 0;
  // The parent's piles' shares of its value (ValorTras).
  std::array<std::int32_t, 257> valorPilaPadre_{};
  std::array<std::uint32_t, 257> selloValorPila_{};

  bool Preparar();
  bool MismosGanchos(const TPila& a, const TPila& b) const;
  std::uint16_t EstructuraActual();
  void PonerEstructura(std::uint16_t e);
  void Leer(std::uint8_t* foto);
  void Escribir(const std::uint8_t* foto, const TMovimiento* tras = nullptr);
  // Pile `i`'s `cuenta` cards from `pila`, put back on the table from the `desde`th up: the
  // cards under it lie there already as the snapshot holds them.
  void PonerCartas(std::size_t i, const std::uint8_t* pila, std::size_t cuenta, std::size_t desde);
  // A drag's child as Prever foresees it, written from the parent's snapshot.
  void HijaPrevista(const std::uint8_t* padre, const TMovimiento& mv, std::uint8_t* hija) const;
  // The table, holding the parent, made to hold that child: the drag's two piles from the
  // run's place up; then, where `verificar`, the game is asked whether it is won, as after
  // a drop, and false where that check changed either pile.
  bool JugarPrevista(const std::uint8_t* padre, const TMovimiento& mv, const std::uint8_t* hija,
                     bool verificar);
  // Whether pile `i` on the table holds the `cuenta` cards from `pila`.
  bool ComoEnMesa(std::size_t i, const std::uint8_t* pila, std::size_t cuenta) const;
  // `anotar`: each pile's key and place kept for Prever.
  TClave Clave(const std::uint8_t* foto, bool anotar = false);
  // A pile's or the stock's share of the key: by ranks alone where no rule reads suits.
  TClave ClaveDeCartas(const std::uint8_t* cartas, std::size_t cuenta, std::uint64_t clase) const;
  TClave Prever(const std::uint8_t* padre, TClave clave, const TMovimiento& mv) const;
  // A drag's child read from the table, and its key, from the parent's piles' keys noted by
  // Clave.
  TClave LeerTras(const std::uint8_t* padre, TClave clave, const TMovimiento& mv,
                  std::uint8_t* hija);
  // The drags of the waste's top card after each number of clicks round the stock, each
  // asked of the table with the stock and the waste laid as those clicks leave them, and
  // the table put back as it was.
  void Girar(const std::uint8_t* padre, const TMovimiento* entrada);
  // Where a card the stock's round brings up goes home safely, that move alone (Girar).
  void SeguraDelGiro(const std::uint8_t* padre, const TEstructura& e, std::size_t primera);
  void Clicar(const std::uint8_t* padre, const TMovimiento* entrada);
  // The same drags of one waste's card, the one `q` cards from the waste's bottom after
  // `clics` clicks, asked of the table as it holds the parent (Girar).
  void GenerarDelGiro(const TEstructura& e, std::uint8_t id, std::size_t q, std::uint8_t clics,
                      const TMovimiento* entrada);
  // Returns whether the move found is a safe one home, which comes alone. `soloPila`: only
  // that pile's cards, each move after `clics` clicks, and no stock click.
  bool Generar(const std::uint8_t* foto, const TMovimiento* entrada, int soloPila = -1,
               std::uint8_t clics = 0);
  void PrepararDestinos(const std::uint8_t* foto, const TEstructura& e);
  void LeerLibres(const std::uint8_t* foto, const TEstructura& e);
  // The bottom cards of the piles off the foundations in the snapshot.
  std::uint64_t FondosDe(const std::uint8_t* foto, const TEstructura& e) const;
  bool Acepta(TCarta& carta, TPila& destino, const TPila& desde);
  // On a table with callbacks, the same decision with the engine's default rule function's
  // part read from the rules as data (Generar): `largo` cards from `carta` up, laid as
  // their pile's rules lay them when `tramoValido`; the callbacks are asked as the table
  // asks them, with that answer. Empty when a table's own rule function decides.
  std::optional<bool> AceptaConLlamadas(const TEstructura& e, TCarta& carta, std::size_t s,
                                        std::size_t d, std::size_t largo, bool tramoValido);
  // What AceptaConLlamadas reads of a pile, read once per position (Generar asks it about
  // every card on every pile): the default function's part as a set of cards and a count,
  // and the callbacks to ask after it.
  struct TLlamado {
    TPila* Hacia = nullptr;
    TCarta* Tope = nullptr;
    std::uint64_t Reglas = 0;  // the cards the group's rules take there, as bits
    std::size_t Cabe = 0;      // the most cards the pile takes there
    bool PorDefecto = false;   // whether the default function decides there
    bool Varias = false;       // the group takes several cards at once
    TAlArrastrarSobrePila EnPila = nullptr;
    TAlArrastrarSobreCarta EnTope = nullptr;
  };
  std::vector<TLlamado> llamados_;
  // AceptaConLlamadas' answer where `l.PorDefecto` and `s` is not `d`.
  bool AceptaLlamado(const TLlamado& l, const TEstructura& e, TCarta& carta, std::size_t s,
                     std::size_t d, std::size_t largo, bool tramoValido) const {
    bool acepta = (l.Reglas >> IdCarta(carta) & 1) && (largo == 1 || (l.Varias && tramoValido)) &&
                  largo <= l.Cabe && e.TomaDe[s * pilas_.size() + d] && carta.BocaArriba;
    if (l.EnPila) l.EnPila(*l.Hacia, carta, 1, 1, acepta);
    if (l.EnTope) l.EnTope(carta, *l.Tope, 1, 1, acepta);
    return acepta;
  }
  // Whether llamados_ holds the position Generar is reading, the table holding it; never
  // while the waste's cards are asked with the stock laid otherwise.
  bool llamadosVigentes_ = false;
  void LeerLlamados(const TEstructura& e);
  // Whether `carta`, at `pos` in pile `s`, is tried on pile `d`: the table takes it there,
  // and an empty pile is the first of its kind this card (stamped `sello`) is tried on.
  bool AceptaEn(const TEstructura& e, TCarta& carta, std::size_t s, std::size_t d,
                std::size_t pos, std::uint32_t sello, std::size_t largo = 1,
                bool tramoValido = true);
  // Whether a waste's card laid on pile `d` could have no card follow it (Generar).
  bool NadaLeSigue(const TEstructura& e, std::size_t d, std::uint8_t id) const {
    const auto g = static_cast<std::uint8_t>(e.Firma[d]);
    return perezoso_[g] && !e.EsCasa[d] && g < prep_.Siguen.size() &&
           (reglas_.Apila[g][id] & prep_.Siguen[g]) == 0;
  }
  bool AceptaRegla(TCarta& carta, TPila& destino, const TPila& desde) const;
  void CalcularSeguros();
  bool Bloqueada(const std::uint8_t* foto, const TMovimiento* entrada);
  bool Trabada(const std::uint8_t* foto) const;
  TRinde<16> trabadaRinde_;  // read while it cuts one position in 16 it reads
  // Where SinSalida reads the table and the game is won with every card home: whether the
  // position is lost for want of room (Aparcadas.h).
  // The piles off the foundations that hold cards, and the cards home, as the room and
  // stuck cards' readings take them; false where there are more piles than they hold.
  using TVistas = std::array<TPilaVista, 64>;
  bool VistasDe(const std::uint8_t* foto, TVistas& vistas, std::size_t& cuantas,
                std::uint64_t& enCasa) const;
  bool FaltaSitioEn(const TVistas& vistas, std::size_t cuantas, std::uint64_t enCasa);
  bool sitioPosible_ = false;
  // The last chain of sets that had room, tried first at the next position.
  TCadenaSitio cadenaSitio_;
  TRinde<128> sitioRinde_;  // read while it cuts one position in 128 it reads
  // The piles off the foundations and the cards home of the position searched, for the
  // high cards' game (Altas.h), played once the piles' rules are known: where it has no
  // win, no position is worth expanding.
  std::vector<std::vector<std::uint8_t>> raizPilas_;
  std::uint64_t raizEnCasa_ = 0;
  bool altasLeidas_ = false;
  bool perdida_ = false;
  // The high cards' games with the stock, read on the first position read here: above the
  // Seis at once; above the Cuatro and the Tres as the search grows, each up to twice its
  // positions; above the Dos, from a million positions on, up to as many.
  bool conMazoLeido_ = false;
  std::shared_ptr<TConMazoComun> conMazo_ = std::make_shared<TConMazoComun>();
  std::uint64_t proximoConMazo_ = 0;
  void LeerConMazo(const TMontonBloqueable* montones, std::size_t cuantos, std::size_t vacias,
                   std::uint64_t enMazo, std::uint64_t enCasa);
  void SeguirConMazo();
  static constexpr std::size_t kConMazo = 4096;  // positions of the game above the Seis
  static constexpr std::uint64_t kConMazoCada = 16384;  // the others read on so often
  void LeerAltasDeLaRaiz();
  // The game above the Cinco read at the positions expanded, its answers kept from one to
  // the next (Altas.h): a position whose game has no win is not expanded.
  std::unique_ptr<TAltasPorPosicion> altasPorPosicion_;
  bool AltasSinSalidaEn(const TVistas& vistas, std::size_t cuantas, std::uint64_t enCasa);
  TRinde<16> altasRinde_;  // read while it cuts one position in 16 it reads
  static constexpr std::size_t kAltasPorPosicion = 16384;  // new positions a reading looks at
  static constexpr std::size_t kEnBalde = 32768;
  static constexpr std::size_t kEnBaldePorCorte = 32;
  // What the high cards' game read of the piles' rules, for the cards that never leave
  // where they lie (Encalladas.h), read where a pile's bottom card leaves only for home.
  TReglasEncalladas encalladas_;
  bool encalladasPosible_ = false;
  // Whether the stuck-card reading of the position, the child of one read without a stuck
  // card, can be taken as read and empty: `entrada` sent one card home (see the body).
  bool SinEncalladaTrasSubir(const std::uint8_t* foto, const TMovimiento* entrada,
                             const TVistas& vistas, std::size_t cuantas,
                             std::uint64_t enCasa) const;
  TRinde<16> encalladaRinde_;  // read while it cuts one position in 16 it reads
  // The same game above the Cinco and above the Cuatro, read on as the search grows, a
  // share of its positions each: a deal that neither proves lost at once nor wins soon may
  // still be lost for its high cards, with fewer of them free (Altas.h).
  struct TAltasTardias {
    std::unique_ptr<TJuegoDeAltas> Juego;
    std::uint64_t Parte;  // it sees at most the search's positions over this
    std::uint64_t Desde;  // read once the search has expanded so many
  };
  std::array<TAltasTardias, 2> altasTardias_;
  // The game above the Siete with the low cards' want of room (Sueltas.h), read at the
  // first of those readings as far as the search has gone, then from the search's
  // 393,216th position on to half its positions, to at most kSueltasTope of its own.
  std::unique_ptr<TJuegoConSueltas> sueltas_;
  bool sueltasLeidas_ = false;
  static constexpr std::size_t kSueltasTope = 1u << 18;
  std::uint64_t proximasAltas_ = 0;
  void SeguirAltas();
  std::uint32_t sitioFuertes_ = 0;
  static constexpr std::uint32_t kSitiosFuertes = 2048;
  static constexpr std::size_t kAltas = 12000;  // positions of the high cards' game looked at
  static constexpr std::uint64_t kAltasCada = 65536;  // the later games read on so often
  static constexpr std::size_t kAltasTope = 1u << 19;
  // `padre`: the position the table holds, where the move's clicks are laid out from it
  // rather than played (Clics.h).
  bool Aplicar(const TMovimiento& mv, const std::uint8_t* padre = nullptr);
  void LaidoTrasClics(const std::uint8_t* padre, std::size_t clics, std::uint8_t* foto) const;
  // A drag whose child differs from its parent only in its two piles' shares of the key.
  bool PorPartes(const TMovimiento& mv) const {
    return !conLlamadas_ && mv.Pila != kMazo && mv.Clics == 0 &&
           !(giratorio_ && (mv.Pila == descarte_ || mv.Destino == descarte_));
  }
  // A drag whose child's key Prever foresees: those, and the waste's cards on a table whose
  // stock turns round (a single card each, nothing laid on the waste).
  bool Previsible(const TMovimiento& mv) const {
    return PorPartes(mv) || (giratorio_ && mv.Pila == descarte_) ||
           (descarteClics_ != SIZE_MAX && mv.Pila == descarteClics_ && mv.Clics > 0 &&
            mv.Pila != kMazo);
  }
  std::int32_t Valor(const std::uint8_t* foto) const;
  // The key's share of the snapshot's last bytes (redeals left, structure).
  static TClave ClaveDelResto(const std::uint8_t* resto) {
    const std::uint64_t r = resto[0] | (std::uint64_t{resto[1]} << 8) |
                            (std::uint64_t{resto[2]} << 16);
    return TClave{Mezclar(r + 0x2545F4914F6CDD1DULL), Mezclar(r ^ 0x9E3779B97F4A7C15ULL)};
  }
  // The value's share of `enMazo` cards left in a stock with no redeal left.
  std::int32_t ValorDelMazo(const std::uint8_t* resto, std::size_t enMazo) const {
    return resto[0] == 0 ? -EscalaValor() * 10 * static_cast<std::int32_t>(enMazo) : 0;
  }
  // The parent's piles' keys, places and values noted for ClaveYValorLeidos.
  void AnotarPadre(const std::uint8_t* padre);
  // A child read whole from the table: its key and value, each pile that holds what it held
  // in the parent noted by AnotarPadre, under the same structure, taking the parent's shares.
  TClave ClaveYValorLeidos(const std::uint8_t* padre, const std::uint8_t* hija,
                           std::int32_t& valor);
  // Pile `i`'s share of Valor: its `cuenta` cards from `cartas`, under structure `e`.
  std::int32_t ValorPila(const TEstructura& e, std::size_t i, const std::uint8_t* cartas,
                         std::size_t cuenta) const;
  // A drag's child differs from its parent, whose value is `valorPadre` and whose piles
  // start where Clave noted, only in the drag's two piles: its value is the parent's with
  // those two piles' shares replaced.
  std::int32_t ValorTras(const std::uint8_t* padre, std::int32_t valorPadre,
                         const TMovimiento& mv, const std::uint8_t* hija);
  enum class TExpansion : std::uint8_t { Seguir, Ganada, Parar };
  // Plays every move from the position the table holds, whose snapshot is `padre`, and
  // keeps each child not seen before: queued when `nodo` is its best-first node, else
  // stacked on the depth-first path. Stops at a win.
  // `conocida`: the position's key, its piles' keys and places already noted (Hundir).
  // `valorPadre`: the position's value, where the queue kept it.
  TExpansion Expandir(const std::uint8_t* padre, const TMovimiento* entrada,
                      const std::uint32_t* nodo, const TClave* conocida = nullptr,
                      const std::int32_t* valorPadre = nullptr,
                      bool padreSinEncalladas = false);
  TExpansion Hundir(std::uint32_t nodo);
  void Ganar(const TMovimiento& ultimo, std::uint32_t nodo);
  std::uint8_t* Foto(std::uint32_t nodo) {
    return bloques_[nodo / kPorBloque] + (nodo % kPorBloque) * tamFoto_;
  }
  std::uint8_t* NuevaFoto();
  // The snapshot of the position at that depth of the path, its block taken if need be;
  // null when that does not fit.
  std::uint8_t* FotoNivel(std::size_t i) {
    if (i / kPorBloqueNivel >= bloquesNivel_.size()) {
      if (BytesEnUso() + kPorBloqueNivel * tamFoto_ > limiteBytes_) return nullptr;
      bloquesNivel_.push_back(std::make_unique<std::uint8_t[]>(kPorBloqueNivel * tamFoto_));
    }
    if (!conLlamadas_ && i / kPorBloqueClaves >= bloquesClaves_.size()) {
      if (BytesEnUso() + BytesBloqueClaves() > limiteBytes_) return nullptr;
      bloquesClaves_.push_back(std::make_unique<TClave[]>(kPorBloqueClaves * (pilas_.size() + 2)));
    }
    return bloquesNivel_[i / kPorBloqueNivel].get() + (i % kPorBloqueNivel) * tamFoto_;
  }
  // The keys noted for that depth of the path, once FotoNivel gave its snapshot: the
  // piles' and the stock's, then the position's.
  TClave* ClavesNivel(std::size_t i) {
    return bloquesClaves_[i / kPorBloqueClaves].get() + (i % kPorBloqueClaves) * (pilas_.size() + 2);
  }
  std::size_t BytesBloqueClaves() const {
    return kPorBloqueClaves * (pilas_.size() + 2) * sizeof(TClave);
  }
  bool Limites();
  // Everything but the positions' keys.
  std::size_t BytesDelResto() const {
    return (nodos_.size() + kBloqueDeque) * sizeof(TNodo) +
           bloques_.size() * kPorBloque * tamFoto_ +
           (cola_.Tam() + kBloqueDeque) * sizeof(std::pair<std::int32_t, std::uint32_t>) +
           (niveles_.size() + kBloqueDeque) * sizeof(TNivel) +
           (pendientes_.size() + kBloqueDeque) * sizeof(TMovimiento) +
           (valoresPendientes_.size() + kBloqueDeque) * sizeof(std::int32_t) +
           bloquesNivel_.size() * kPorBloqueNivel * tamFoto_ +
           bloquesClaves_.size() * BytesBloqueClaves() +
           movs_.capacity() * sizeof(TMovimiento) + orden_.capacity() * sizeof(orden_[0]) +
           previstas_.capacity() * sizeof(TClave) + hija_.size() + rachasRecordadas_.Bytes() +
           desentierro_.Bytes() +
           (altasTardias_[0].Juego ? altasTardias_[0].Juego->Bytes() : 0) +
           (altasTardias_[1].Juego ? altasTardias_[1].Juego->Bytes() : 0) +
           (sueltas_ ? sueltas_->Bytes() : 0) +
           (altasPorPosicion_ ? altasPorPosicion_->Bytes() : 0) + BytesConMazo();
  }
  std::size_t BytesConMazo() const {
    std::size_t b = 0;
    for (const TConMazo& j : conMazo_->Juegos) b += j.Juego ? j.Juego->Bytes() : 0;
    return b;
  }
  std::size_t BytesEnUso() const { return vistas_.Bytes() + BytesDelResto(); }
  // Whether one more position fits: queued, a full block of snapshots takes a new block.
  // `resto`: what BytesDelResto gives now.
  bool CabeOtra(std::size_t resto) const {
    const std::size_t enUso = vistas_.Bytes() + resto;
    if (enProfundidad_) return enUso + sizeof(TMovimiento) <= limiteBytes_;
    std::size_t extra = sizeof(TNodo) + sizeof(std::pair<std::int32_t, std::uint32_t>);
    if (nodos_.size() % kPorBloque == 0) extra += kPorBloque * tamFoto_;
    return enUso + extra <= limiteBytes_;
  }
  void AnotarPico(std::size_t extra = 0) {
    r_.MemoriaPico = std::max(r_.MemoriaPico, BytesEnUso() + extra);
  }
};

bool TBusqueda::MismosGanchos(const TPila& a, const TPila& b) const {
  return a.AlCambiar == b.AlCambiar && a.AlArrastrarSobre == b.AlArrastrarSobre &&
         a.AlSoltar == b.AlSoltar && a.AlRecibir == b.AlRecibir && a.AlQuitar == b.AlQuitar;
}

bool TBusqueda::Preparar() {
  if (m_.Cartas.size() != 40 || m_.Pilas.size() > 250 || m_.Grupos.size() > 250)
    return false;
  for (const auto& c : m_.Cartas) {
    if (c->Palo > 3 || c->Numero < 1 || c->Numero > 10) return false;
    if (porId_[IdCarta(*c)]) return false;
    porId_[IdCarta(*c)] = c.get();
  }
  for (const auto& p : m_.Pilas) pilas_.push_back(p.get());
  conGanchos_ = TieneGanchos(m_);
  conLlamadas_ = TieneLlamadas(m_);
  ganchosApila_ = conLlamadas_ || m_.PuedeApilar != ApilarPorReglas;
  ganchosVacia_ = conLlamadas_ || m_.PuedeOcuparVacia != OcuparPorReglas ||
                  m_.PuedeFundar != FundarPorReglas;
  apilaPorDefecto_ = m_.PuedeApilar == ApilarPorReglas;
  ocupaPorDefecto_ = m_.PuedeOcuparVacia == OcuparPorReglas;
  fundaPorDefecto_ = m_.PuedeFundar == FundarPorReglas;
  for (const TPila* p : pilas_) esMazo_.push_back(p->EsMazo());
  reglas_ = LeerReglas(m_);
  // A card in order, for a position's value: as the rules lay it, or on a card of its own
  // rank where only the table's stacking function lays it so.
  enOrden_ = reglas_.Apila;
  const auto parejas = LeerParejas(m_, reglas_);
  for (std::size_t g = 0; g < parejas.size() && g < enOrden_.size(); ++g)
    for (std::size_t id = 0; id < 40; ++id) enOrden_[g][id] |= parejas[g][id];
  desempate_ = !parejas.empty() && !VaciasTomanCartas(m_, reglas_.Vacia);
  sinPalos_ = PalosIndiferentes(m_);
  ordenCasa_ = OrdenEnCasa(m_, reglas_);
  especial_.assign(pilas_.size(), false);
  if (m_.Mazo) {
    for (std::size_t i = 0; i < pilas_.size(); ++i) {
      if (pilas_[i] == m_.Mazo->Descarte) especial_[i] = true;
      for (const TDestino& d : m_.Mazo->Destinos)
        if (d.Pila == pilas_[i]) especial_[i] = true;
    }
  }
  if (MazoQueGira(m_)) {
    descarte_ = static_cast<std::size_t>(
        std::find(pilas_.begin(), pilas_.end(), m_.Mazo->Descarte) - pilas_.begin());
    giratorio_ = descarte_ < pilas_.size();
  }
  // Counts of every pile and the stock, the forty cards, redeals left, structure.
  tamFoto_ = pilas_.size() + 1 + 40 + 1 + 2;
  trozos_ = TTrozos(kPorBloque * tamFoto_);
  actual_ = EstructuraActual();
  CalcularSeguros();
  // Where the game is won with every card home, a click never wins: clicks after the last
  // drag are never needed.
  if (!giratorio_ && clicsJuntos_ && (rachas_.Posible || bloqueos_.Posible))
    descarteClics_ = DescarteDeClicsJuntos(m_);
  PrepararSinSalida(nullptr);
  fondosQuietos_ = FondosQuietos(m_, reglas_, nullptr);
  fondosSoloACasa_ = FondosSoloACasa(m_, fondosQuietos_);
  sitioPosible_ = sinSalida_.Posible && bloqueos_.Posible;
  raizPilas_.clear();
  raizEnCasa_ = 0;
  for (const TPila* p : pilas_) {
    std::vector<std::uint8_t> ids;
    for (const TCarta* c = p->Tope; c; c = c->Debajo) ids.insert(ids.begin(), IdCarta(*c));
    if (p->Grupo->EsFundacion) {
      for (const std::uint8_t id : ids) raizEnCasa_ |= std::uint64_t{1} << id;
    } else if (!ids.empty()) {
      raizPilas_.push_back(std::move(ids));
    }
  }
  if (sitioPosible_) LeerAltasDeLaRaiz();
  return true;
}

// The high cards' game from the position searched, the cards above the Siete: a look
// bounded so that it costs a deal it does not prove lost a few milliseconds.
void TBusqueda::LeerAltasDeLaRaiz() {
  if (altasLeidas_) return;
  altasLeidas_ = true;
  const TAltas a = LeerAltas(m_, reglas_, sinSalida_);
  encalladas_ = LeerEncalladas(a);
  encalladasPosible_ = a.Posible && fondosSoloACasa_;
  std::size_t vistas = 0;
  perdida_ = AltasSinSalida(a, raizPilas_, raizEnCasa_, 6, kAltas, vistas);
  if (perdida_ || !a.Posible) return;
  altasPorPosicion_ = std::make_unique<TAltasPorPosicion>(a, 4, kAltasPorPosicion);
  if (!altasPorPosicion_->Posible()) altasPorPosicion_.reset();
  altasTardias_ = {
      TAltasTardias{std::make_unique<TJuegoDeAltas>(a, raizPilas_, raizEnCasa_, 4), 1, 0},
      TAltasTardias{std::make_unique<TJuegoDeAltas>(a, raizPilas_, raizEnCasa_, 3), 4,
                    7 * kAltasCada}};
  proximasAltas_ = kAltasCada;
  sueltas_ = std::make_unique<TJuegoConSueltas>(a, raizPilas_, raizEnCasa_, 6);
  sueltasLeidas_ = false;
}

// The game above the Cinco keeps up with the search (as many positions as it has
// expanded), the one above the Cuatro, from 458,752 on, a quarter, each at most
// kAltasTope. Of Casi 14's slow lost deals, those lost for their high cards are lost above
// the Cinco within 49,000 to 301,000 positions, and one above the Cuatro only, within
// 111,000. Above the Cinco the game nearly always settles within its first 65,536
// positions, a win most often within some thousands, so keeping up costs little; above
// the Cuatro it may run some 100,000 to 200,000 positions before it wins, which, read
// from the start, pushed deals of some 0.9 s over a second: from 458,752 on it costs only
// the deals the search has not ended by then.
// The game above the Siete with the low cards' want of room proves Casi 14's 77, 553 and
// 958 lost within 29,000 to 62,000 of its positions, 397 within 171,000, where the search
// takes 575,000 to 3 million; but each of its positions costs about what one of the
// search's does, and kept up with the search it pushed deals of 0.7 to 0.9 s, which it
// does not settle, over a second. So it is read once as far as the search has gone at the
// first reading, then only from 393,216 on, at half: 397 needs half of 393,216, and
// starting there rather than at 458,752 ends 397 and 106 one reading sooner, while a deal
// the search ends just before it (833, lost) pays for no second stretch.
void TBusqueda::SeguirAltas() {
  proximasAltas_ += kAltasCada;
  for (auto& [juego, parteDe, desde] : altasTardias_) {
    if (!juego || perdida_) continue;
    // Where what it holds could not double in the memory left, the game is given up.
    if (BytesEnUso() + 2 * juego->Bytes() > limiteBytes_) {
      juego.reset();
      continue;
    }
    if (r_.Posiciones < desde) continue;
    const std::size_t parte = std::min<std::size_t>(r_.Posiciones / parteDe, kAltasTope);
    const TJuegoDeAltas::TFin fin = juego->Seguir(parte);
    if (fin == TJuegoDeAltas::TFin::SinSalida) perdida_ = true;
    if (fin != TJuegoDeAltas::TFin::Sigue || parte == kAltasTope) juego.reset();
  }
  if (!sueltas_ || perdida_) return;
  if (BytesEnUso() + 2 * sueltas_->Bytes() > limiteBytes_) {
    sueltas_.reset();
    return;
  }
  if (sueltasLeidas_ && r_.Posiciones < 6 * kAltasCada) return;
  const std::size_t parte =
      std::min<std::size_t>(sueltasLeidas_ ? r_.Posiciones / 2 : r_.Posiciones, kSueltasTope);
  sueltasLeidas_ = true;
  const TJuegoConSueltas::TFin fin = sueltas_->Seguir(parte);
  if (fin == TJuegoConSueltas::TFin::SinSalida) perdida_ = true;
  if (fin != TJuegoConSueltas::TFin::Sigue || parte == kSueltasTope) sueltas_.reset();
}

void TBusqueda::LeerConMazo(const TMontonBloqueable* montones, std::size_t cuantos,
                            std::size_t vacias, std::uint64_t enMazo, std::uint64_t enCasa) {
  const auto juego = [&](std::size_t hasta) {
    return std::make_unique<TJuegoDeAltasConMazo>(bloqueos_, montones, cuantos, vacias, enMazo,
                                                  enCasa, hasta);
  };
  if (juego(5)->Seguir(kConMazo) == TJuegoDeAltasConMazo::TFin::SinSalida) {
    perdida_ = true;
    return;
  }
  conMazo_->Juegos = {TConMazo{juego(3), 2, 0}, TConMazo{juego(2), 2, 0},
                      TConMazo{juego(1), 1, 1u << 20}};
}

// Of Solitario De Los Siete Montones' thousand deals, the lost ones the game above the Tres
// proves take it at most some 310,000 positions; where it wins, at most some 120,000. Read
// at twice the search's pace, it settles before the search has gone far.
void TBusqueda::SeguirConMazo() {
  proximoConMazo_ += kConMazoCada;
  conMazo_->Posiciones += kConMazoCada;
  const std::uint64_t posiciones = conMazo_->Posiciones;
  for (auto& [juego, veces, desde] : conMazo_->Juegos) {
    if (!juego || perdida_) continue;
    // Where what it holds could not double in the memory left, the game is given up.
    if (BytesEnUso() + 2 * juego->Bytes() > limiteBytes_) {
      juego.reset();
      continue;
    }
    if (posiciones < desde) continue;
    // A game started late catches up a few stretches at a time, so that no one reading
    // holds the search up for long.
    const TJuegoDeAltasConMazo::TFin fin =
        juego->Seguir(std::min(posiciones * veces, juego->Vistas() + 8 * kConMazoCada));
    if (fin == TJuegoDeAltasConMazo::TFin::SinSalida) perdida_ = true;
    if (fin != TJuegoDeAltasConMazo::TFin::Sigue) juego.reset();
  }
}

void TBusqueda::PrepararSinSalida(const TGanchosComoDatos* ganchos) {
  sinSalida_ = ::PrepararSinSalida(m_, reglas_, ganchos);
  if (!sinSalida_.Posible) return;
  llena_.assign(pilas_.size(), 0);
  for (std::size_t i = 0; i < pilas_.size(); ++i) {
    const TGrupo* g = pilas_[i]->Grupo;
    const auto k = static_cast<std::size_t>(
        std::find(m_.Grupos.begin(), m_.Grupos.end(), g) - m_.Grupos.begin());
    if (!ganchosApila_ || !ganchos_.LlenaToma[k]) llena_[i] = g->Capacidad;
  }
  // Every pile off the foundations full at the same count, or nothing is read.
  std::uint8_t comun = 0;
  for (std::size_t i = 0; i < pilas_.size(); ++i) {
    if (pilas_[i]->Grupo->EsFundacion) continue;
    if (llena_[i] == 0 || (comun && llena_[i] != comun)) sinSalida_.Posible = false;
    comun = llena_[i];
  }
}

// The structure the table has now, added to the list when it is new.
std::uint16_t TBusqueda::EstructuraActual() {
  // Most moves leave the structure as it was: that is checked without building a key.
  if (!estructuras_.empty()) {
    const TEstructura& e = estructuras_[actual_];
    bool igual = m_.Grupos == e.DeLaMesa;
    for (std::size_t i = 0; i < pilas_.size() && igual; ++i) igual = pilas_[i]->Grupo == e.Grupos[i];
    for (std::size_t g = 0; g < m_.Grupos.size() && igual; ++g)
      igual = m_.Grupos[g]->Origenes == e.Origenes[g];
    if (igual) return actual_;
  }
  auto indiceGrupo = [this](const TGrupo* g) {
    const auto it = std::find(m_.Grupos.begin(), m_.Grupos.end(), g);
    return static_cast<char>(it - m_.Grupos.begin());
  };
  firma_.clear();
  for (const TPila* p : pilas_) firma_.push_back(indiceGrupo(p->Grupo));
  for (const TGrupo* g : m_.Grupos) {
    firma_.push_back(static_cast<char>(g->Origenes.size()));
    for (const TGrupo* o : g->Origenes) firma_.push_back(indiceGrupo(o));
  }
  if (!estructuras_.empty() && estructuras_[actual_].Firma == firma_) return actual_;
  const auto it = indice_.find(firma_);
  if (it != indice_.end()) return it->second;

  TEstructura e;
  e.Firma = firma_;
  for (const TPila* p : pilas_) {
    e.Grupos.push_back(p->Grupo);
    e.EsFundacion.push_back(p->Grupo->EsFundacion);
    bool casa = p->Grupo->EsFundacion ||
                (p->Grupo->Capacidad <= 10 && !p->Grupo->ReglasApilado.empty());
    for (const TRegla& r : p->Grupo->ReglasApilado)
      if (r.Relacion != rpMismoPalo || (r.Paso != 1 && r.Paso != -1)) casa = false;
    e.EsCasa.push_back(casa);
  }
  for (const TGrupo* g : m_.Grupos) e.Origenes.push_back(g->Origenes);
  e.DeLaMesa = m_.Grupos;
  for (const TPila* desde : pilas_) {
    std::uint64_t bits = 0;
    for (std::size_t d = 0; d < pilas_.size(); ++d) {
      const bool toma = AceptaOrigen(desde->Grupo, *pilas_[d]->Grupo);
      e.TomaDe.push_back(toma);
      if (toma && d < 64) bits |= std::uint64_t{1} << d;
    }
    e.TomaDeBits.push_back(bits);
  }
  // Where the default rule functions decide, a pile that takes cards by its group's rules
  // and that no other pile takes from keeps every card laid on it: it is home
  // as a foundation is, though its group is not marked one.
  e.Sumidero.assign(pilas_.size(), false);
  if (!ganchosApila_ && !ganchosVacia_) {
    const std::size_t n = pilas_.size();
    for (std::size_t i = 0; i < n; ++i) {
      const TGrupo& g = *e.Grupos[i];
      if (e.EsCasa[i] || especial_[i] || (g.ReglasApilado.empty() && g.ReglasVacia.empty()))
        continue;
      bool sumidero = true;
      for (std::size_t d = 0; d < n && sumidero; ++d)
        if (d != i && e.TomaDe[i * n + d]) sumidero = false;
      e.EsCasa[i] = sumidero;
      e.Sumidero[i] = sumidero;
    }
  }
  // Piles of one group with the same hooks play alike: the key does not tell them apart.
  for (std::size_t i = 0; i < pilas_.size(); ++i) {
    std::uint16_t clase = static_cast<std::uint16_t>(1000 + i);
    if (!especial_[i]) {
      for (std::size_t j = 0; j < i; ++j) {
        if (!especial_[j] && e.Grupos[j] == e.Grupos[i] && MismosGanchos(*pilas_[i], *pilas_[j])) {
          clase = static_cast<std::uint16_t>(j);
          break;
        }
      }
    }
    e.Clase.push_back(clase);
  }
  const auto n = static_cast<std::uint16_t>(estructuras_.size());
  estructuras_.push_back(std::move(e));
  indice_.emplace(firma_, n);
  return n;
}

void TBusqueda::PonerEstructura(std::uint16_t n) {
  const TEstructura& e = estructuras_[n];
  for (std::size_t i = 0; i < pilas_.size(); ++i) pilas_[i]->Grupo = e.Grupos[i];
  for (std::size_t g = 0; g < m_.Grupos.size(); ++g) m_.Grupos[g]->Origenes = e.Origenes[g];
  actual_ = n;
}

// A copy of a few dozen bytes at most, in words, the last one overlapping the one before.
// A copy whose length the compiler knows to be small it writes inline as a string
// instruction, which takes longer to start than such a copy takes.
inline void CopiarCorto(std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  if (n >= 8) {
    std::uint64_t w;
    for (std::size_t j = 0; j + 8 < n; j += 8) {
      std::memcpy(&w, b + j, 8);
      std::memcpy(a + j, &w, 8);
    }
    std::memcpy(&w, b + n - 8, 8);
    std::memcpy(a + n - 8, &w, 8);
  } else if (n >= 4) {
    std::uint32_t x;
    std::uint32_t y;
    std::memcpy(&x, b, 4);
    std::memcpy(&y, b + n - 4, 4);
    std::memcpy(a, &x, 4);
    std::memcpy(a + n - 4, &y, 4);
  } else if (n > 0) {
    const std::uint8_t x = b[0];
    const std::uint8_t y = b[n / 2];
    const std::uint8_t z = b[n - 1];
    a[0] = x;
    a[n / 2] = y;
    a[n - 1] = z;
  }
}

// A pile's cards as a snapshot holds them, from its bottom card up, written from `a`; their
// count. The cards are followed once, from the top down, and turned round in place.
std::size_t LeerPila(const TPila& p, std::uint8_t* a) {
  std::size_t cuenta = 0;
  for (const TCarta* c = p.Tope; c; c = c->Debajo)
    a[cuenta++] = static_cast<std::uint8_t>(IdCarta(*c) | (c->BocaArriba ? kBocaArriba : 0));
  std::reverse(a, a + cuenta);
  return cuenta;
}

void TBusqueda::Leer(std::uint8_t* foto) {
  const std::size_t n = pilas_.size();
  std::uint8_t* cartas = foto + n + 1;
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t cuenta = LeerPila(*pilas_[i], cartas + k);
    foto[i] = static_cast<std::uint8_t>(cuenta);
    k += cuenta;
  }
  std::size_t enMazo = 0;
  std::int8_t reutilizaciones = 0;
  if (m_.Mazo) {
    for (const TCarta* c = m_.Mazo->TopeMazo; c; c = c->Debajo, ++enMazo)
      cartas[k + enMazo] = IdCarta(*c);
    reutilizaciones = m_.Mazo->Reutilizaciones;
  }
  foto[n] = static_cast<std::uint8_t>(enMazo);
  if (conLlamadas_) actual_ = EstructuraActual();
  std::uint8_t* resto = cartas + 40;
  resto[0] = static_cast<std::uint8_t>(reutilizaciones);
  resto[1] = static_cast<std::uint8_t>(actual_ & 0xFF);
  resto[2] = static_cast<std::uint8_t>(actual_ >> 8);
  enMesa_ = foto;
}

// Puts the snapshot's position back on the table. After a move on a table without hooks
// only the piles the move touched differ: a drag's two piles, or for the stock click the
// stock and the piles it deals to. Otherwise, when the table holds a snapshot read since
// its last move, only the piles whose cards differ from that one's, and the stock when it
// differs.
void TBusqueda::Escribir(const std::uint8_t* foto, const TMovimiento* tras) {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  const std::uint8_t* resto = cartas + 40;
  const auto estructura = static_cast<std::uint16_t>(resto[1] | (resto[2] << 8));
  if (estructura != actual_) PonerEstructura(estructura);
  const bool parcial = tras && (tras->Pila == kMazo ? !conLlamadas_ : PorPartes(*tras));
  // The check mode puts every pile back, so that comparing with it checks this.
  const std::uint8_t* ahora = parcial || comprobar_ ? nullptr : enMesa_;
  const std::uint8_t* cartasAhora = ahora ? ahora + n + 1 : nullptr;
  bool mazo = !parcial || tras->Pila == kMazo;
  if (parcial && !mazo) {
    // A drag: only its two piles differ, each put back where its cards start.
    const std::size_t menor = std::min<std::size_t>(tras->Pila, tras->Destino);
    const std::size_t mayor = std::max<std::size_t>(tras->Pila, tras->Destino);
    std::size_t k = 0;
    std::size_t i = 0;
    for (; i < menor; ++i) k += foto[i];
    for (;; i = mayor) {
      std::size_t desde = 0;
      if (!comprobar_ && prever_) {
        // A drag only took a run off one pile's top, turning the card left there face up,
        // and laid it on the other's: the cards under those two places lie as they did.
        // The check mode puts the whole pile back, and so does a search that found the
        // table's drops doing more than that.
        const std::size_t quedan = i == tras->Pila ? tras->Posicion : foto[i];
        if (quedan > 1) desde = quedan - 1;
      }
      PonerCartas(i, cartas + k, foto[i], desde);
      if (i == mayor) break;
      for (std::size_t t = menor; t < mayor; ++t) k += foto[t];
    }
    enMesa_ = nullptr;
    return;
  }
  if (ahora == foto) {
    mazo = false;
  } else if (ahora) {
    // The same count in the stock leaves the same count in the piles before it.
    std::size_t enPilas = 0;
    for (std::size_t i = 0; i < n; ++i) enPilas += foto[i];
    mazo = foto[n] != ahora[n] || resto[0] != cartasAhora[40] ||
           std::memcmp(cartas + enPilas, cartasAhora + enPilas, foto[n]) != 0;
  }
  // Where the forty bytes of cards of the two snapshots first and last differ, a word at a
  // time: a pile with the same count at the same place, wholly before the first difference
  // or after the last, is the same pile without comparing it. Most piles are.
  std::size_t primera = 40;
  std::size_t ultima = 0;  // one past the last difference
  if (ahora && ahora != foto) {
    std::array<std::uint64_t, 5> dif;
    unsigned distintas = 0;  // the words that differ, as bits
    for (std::size_t w = 0; w < dif.size(); ++w) {
      std::uint64_t x;
      std::uint64_t y;
      std::memcpy(&x, cartas + 8 * w, 8);
      std::memcpy(&y, cartasAhora + 8 * w, 8);
      dif[w] = x ^ y;
      distintas |= static_cast<unsigned>(dif[w] != 0) << w;
    }
    if (distintas) {
      const auto a = static_cast<std::size_t>(__builtin_ctz(distintas));
      const auto b = static_cast<std::size_t>(31 - __builtin_clz(distintas));
      primera = 8 * a + static_cast<std::size_t>(__builtin_ctzll(dif[a])) / 8;
      ultima = 8 * b + static_cast<std::size_t>(63 - __builtin_clzll(dif[b])) / 8 + 1;
    }
  }
  std::size_t k = 0;
  std::size_t kAhora = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (ahora) {
      const bool igual =
          ahora == foto ||
          (foto[i] == ahora[i] &&
           ((k == kAhora && (k + foto[i] <= primera || k >= ultima)) ||
            std::memcmp(cartas + k, cartasAhora + kAhora, foto[i]) == 0));
      kAhora += ahora[i];
      if (igual) {
        k += foto[i];
        continue;
      }
    } else if (parcial && !especial_[i]) {
      // The stock click: only the stock and the piles it deals to differ.
      k += foto[i];
      continue;
    }
    PonerCartas(i, cartas + k, foto[i], 0);
    k += foto[i];
  }
  if (m_.Mazo && mazo) {
    TMazo& m = *m_.Mazo;
    TCarta* encima = nullptr;
    m.TopeMazo = nullptr;
    for (std::size_t j = 0; j < foto[n]; ++j, ++k) {
      TCarta* c = porId_[cartas[k] & 0x3F];
      if (c->BocaArriba) m_.PonerBocaAbajo(*c);
      c->Pila = nullptr;
      c->Encima = encima;
      c->Debajo = nullptr;
      if (encima)
        encima->Debajo = c;
      else
        m.TopeMazo = c;
      encima = c;
    }
    m.CartasMazo = foto[n];
    m.Reutilizaciones = static_cast<std::int8_t>(resto[0]);
  }
  enMesa_ = parcial ? nullptr : foto;
}

void TBusqueda::PonerCartas(std::size_t i, const std::uint8_t* pila, std::size_t cuenta,
                             std::size_t desde) {
  TPila* p = pilas_[i];
  TCarta* debajo = desde > 0 ? porId_[pila[desde - 1] & 0x3F] : nullptr;
  for (std::size_t j = desde; j < cuenta; ++j) {
    TCarta* c = porId_[pila[j] & 0x3F];
    const bool arriba = (pila[j] & kBocaArriba) != 0;
    if (c->BocaArriba != arriba) {
      if (arriba)
        m_.PonerBocaArriba(*c);
      else
        m_.PonerBocaAbajo(*c);
    }
    c->Pila = p;
    c->Debajo = debajo;
    c->Encima = nullptr;
    if (debajo) debajo->Encima = c;
    debajo = c;
  }
  p->Tope = debajo;
  p->Cantidad = static_cast<std::uint8_t>(cuenta);
}

void TBusqueda::HijaPrevista(const std::uint8_t* padre, const TMovimiento& mv,
                             std::uint8_t* hija) const {
  const std::size_t n = pilas_.size();
  const std::size_t s = mv.Pila;
  const std::size_t d = mv.Destino;
  const std::size_t queda = mv.Posicion;
  const std::size_t tramo = padre[s] - queda;
  std::memcpy(hija, padre, n + 1);
  hija[s] = static_cast<std::uint8_t>(queda);
  hija[d] = static_cast<std::uint8_t>(padre[d] + tramo);
  const std::uint8_t* de = padre + n + 1;
  std::uint8_t* a = hija + n + 1;
  const std::size_t finS = inicioPila_[s] + padre[s];
  const std::size_t finD = inicioPila_[d] + padre[d];
  const std::uint8_t* run = de + inicioPila_[s] + queda;
  // The stretches of the parent's cards between the two places, in order; the stock and
  // the three bytes after the forty cards go with the last.
  if (s < d) {
    std::size_t k = inicioPila_[s] + queda;
    CopiarCorto(a, de, k);
    if (queda > 0) a[k - 1] |= kBocaArriba;
    CopiarCorto(a + k, de + finS, finD - finS);
    k += finD - finS;
    CopiarCorto(a + k, run, tramo);
    CopiarCorto(a + finD, de + finD, 40 - finD + 3);
  } else {
    CopiarCorto(a, de, finD);
    CopiarCorto(a + finD, run, tramo);
    const std::size_t k = finD + tramo;
    CopiarCorto(a + k, de + finD, inicioPila_[s] + queda - finD);
    if (queda > 0) a[finS - 1] |= kBocaArriba;
    CopiarCorto(a + finS, de + finS, 40 - finS + 3);
  }
}

bool TBusqueda::ComoEnMesa(std::size_t i, const std::uint8_t* pila, std::size_t cuenta) const {
  const TPila& p = *pilas_[i];
  if (p.Cantidad != cuenta) return false;
  const TCarta* c = p.Tope;
  for (std::size_t j = cuenta; j > 0; --j, c = c->Debajo)
    if (!c || pila[j - 1] != (IdCarta(*c) | (c->BocaArriba ? kBocaArriba : 0))) return false;
  return c == nullptr;
}

bool TBusqueda::JugarPrevista(const std::uint8_t* padre, const TMovimiento& mv,
                              const std::uint8_t* hija, bool verificar) {
  const std::size_t n = pilas_.size();
  const std::size_t s = mv.Pila;
  const std::size_t d = mv.Destino;
  const std::size_t tramo = padre[s] - mv.Posicion;
  const std::uint8_t* a = hija + n + 1;
  // The pile after the other moved by what that one gained or lost.
  const std::size_t inicioS = inicioPila_[s] + (s < d ? 0 : tramo);
  const std::size_t inicioD = inicioPila_[d] - (s < d ? tramo : 0);
  PonerCartas(s, a + inicioS, hija[s], mv.Posicion > 0 ? mv.Posicion - 1u : 0u);
  PonerCartas(d, a + inicioD, hija[d], padre[d] > 0 ? padre[d] - 1u : 0u);
  enMesa_ = nullptr;
  if (!verificar) return true;
  // What the table's drop arms before it asks. The check may do more than look: the two
  // piles are compared with what was foreseen, as a child played through the table's
  // steps was.
  m_.FinJuegoArmado = true;
  m_.VerificarFinAhora();
  return ComoEnMesa(s, a + inicioS, hija[s]) && ComoEnMesa(d, a + inicioD, hija[d]);
}

// The sequence the clicks turn round on a stock that turns round: the waste from its
// bottom, then the stock from its top, without faces and where it is cut. Its length.
std::size_t LlenarGiro(std::array<std::uint8_t, 40>& giro, const std::uint8_t* descarte,
                       std::size_t enDescarte, const std::uint8_t* mazo, std::size_t enMazo) {
  std::memcpy(giro.data(), descarte, enDescarte);
  std::memcpy(giro.data() + enDescarte, mazo, enMazo);
  const std::size_t largo = enDescarte + enMazo;
  for (std::size_t j = 0; j < largo; ++j) giro[j] &= 0x3F;
  return largo;
}

// One pile's share of the key, from its class and its cards, eight cards at a time: each
// word's step is a bijection of the word, so two piles of one class and length that
// differ in one word never meet in it; the final mix spreads every bit over both halves.
TClave ClaveDePila(const std::uint8_t* cartas, std::size_t cuenta, std::uint64_t clase) {
  std::uint64_t a = 0xcbf29ce484222325ULL ^ (clase * 0x9E3779B97F4A7C15ULL) ^ (cuenta << 56);
  std::uint64_t b = 0x84222325cbf29ce4ULL + clase + (cuenta << 48);
  auto paso = [&a, &b](std::uint64_t w) {
    a = (a ^ w) * 0x9E3779B97F4A7C15ULL;
    a ^= a >> 31;
    b = (b + w) * 0xd6e8feb86659fd93ULL;
    b ^= b >> 29;
  };
  std::size_t j = 0;
  for (; j + 8 <= cuenta; j += 8) {
    std::uint64_t w;
    std::memcpy(&w, cartas + j, 8);
    paso(w);
  }
  // The last one to seven cards as one word, their first in its low byte, read without a
  // loop over them: where eight cards came before, the eight bytes that end the pile
  // shifted down; else two overlapping four-byte reads, or the first, middle and last card.
  const std::size_t resto = cuenta - j;
  if (resto > 0) {
    std::uint64_t w;
    if (cuenta >= 8) {
      std::memcpy(&w, cartas + cuenta - 8, 8);
      w >>= 8 * (8 - resto);
    } else if (resto >= 4) {
      std::uint32_t bajo;
      std::uint32_t alto;
      std::memcpy(&bajo, cartas, 4);
      std::memcpy(&alto, cartas + resto - 4, 4);
      w = bajo | ((std::uint64_t{alto} >> (8 * (8 - resto))) << 32);
    } else {
      w = std::uint64_t{cartas[0]} | (std::uint64_t{cartas[resto / 2]} << (8 * (resto / 2))) |
          (std::uint64_t{cartas[resto - 1]} << (8 * (resto - 1)));
    }
    paso(w);
  }
  return TClave{Mezclar(a), Mezclar(b ^ 0x5bd1e9955bd1e995ULL)};
}

TClave TBusqueda::ClaveDeCartas(const std::uint8_t* cartas, std::size_t cuenta,
                                std::uint64_t clase) const {
  if (!sinPalos_) return ClaveDePila(cartas, cuenta, clase);
  static constexpr auto kRangos = [] {
    std::array<std::uint8_t, 256> t{};
    for (std::size_t b = 0; b < t.size(); ++b) t[b] = SinPalo(static_cast<std::uint8_t>(b));
    return t;
  }();
  std::array<std::uint8_t, 40> rangos;
  for (std::size_t j = 0; j < cuenta; ++j) rangos[j] = kRangos[cartas[j]];
  return ClaveDePila(rangos.data(), cuenta, clase);
}

// Each pile hashed from its class and cards, the piles summed: the sum does not change
// when interchangeable piles swap their cards.
TClave TBusqueda::Clave(const std::uint8_t* foto, bool anotar) {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  const std::uint8_t* resto = cartas + 40;
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(resto[1] | (resto[2] << 8))];
  TClave clave{};
  std::size_t k = 0;
  std::size_t desde = 0;  // the waste's first card
  for (std::size_t i = 0; i <= n; ++i) {
    TClave h;
    if (giratorio_ && i == descarte_) {
      h = TClave{};  // its cards count with the stock's
      desde = k;
    } else if (giratorio_ && i == n) {
      // The stock's share is the whole sequence the clicks turn round.
      std::array<std::uint8_t, 40> giro;
      const std::size_t largo =
          LlenarGiro(giro, cartas + desde, foto[descarte_], cartas + k, foto[n]);
      h = ClaveDeCartas(giro.data(), largo, 0xFFFF);
    } else {
      h = ClaveDeCartas(cartas + k, foto[i], i < n ? e.Clase[i] : 0xFFFF);
    }
    if (anotar) {
      inicioPila_[i] = static_cast<std::uint8_t>(k);
      clavePila_[i] = h;
    }
    k += foto[i];
    clave.A += h.A;
    clave.B += h.B;
  }
  const TClave r = ClaveDelResto(resto);
  clave.A += r.A;
  clave.B += r.B;
  return clave;
}

// After a drag on a table without hooks only its two piles changed: the child's snapshot
// copies the rest from the parent's, and its key replaces those two piles' shares.
TClave TBusqueda::LeerTras(const std::uint8_t* padre, TClave clave, const TMovimiento& mv,
                           std::uint8_t* hija) {
  const std::size_t n = pilas_.size();
  const TEstructura& e = estructuras_[actual_];
  std::memcpy(hija, padre, n + 1);
  const std::uint8_t* de = padre + n + 1;
  std::uint8_t* a = hija + n + 1;
  // The piles before, between and after the two keep their cards, each stretch in one
  // piece: it only moves by what the first of the two gained or lost.
  const std::size_t menor = std::min<std::size_t>(mv.Pila, mv.Destino);
  const std::size_t mayor = std::max<std::size_t>(mv.Pila, mv.Destino);
  std::size_t kp = 0;
  for (std::size_t i = 0; i < menor; ++i) kp += padre[i];
  std::memcpy(a, de, kp);
  std::size_t kh = kp;
  for (std::size_t i = menor;; i = mayor) {
    hija[i] = static_cast<std::uint8_t>(LeerPila(*pilas_[i], a + kh));
    // Expandir noted the parent's piles' keys.
    const TClave antes = clavePila_[i];
    const TClave despues = ClaveDeCartas(a + kh, hija[i], e.Clase[i]);
    trasLeer_[i == mayor] = despues;
    clave.A += despues.A - antes.A;
    clave.B += despues.B - antes.B;
    kp += padre[i];
    kh += hija[i];
    if (i == mayor) break;
    std::size_t entre = 0;
    for (std::size_t t = i + 1; t < mayor; ++t) entre += padre[t];
    std::memcpy(a + kh, de + kp, entre);
    kp += entre;
    kh += entre;
  }
  // The piles after them, the stock, the redeals left and the structure.
  std::memcpy(a + kh, de + kp, 40 - kh + 3);
  return clave;
}

// On a table without callbacks the engine's drop takes the run off its pile, turns the
// card left on top face up and lays the run on the other pile; nothing else changes (the
// structure and the stock included). The child's key follows from the parent's snapshot,
// whose piles' keys and places Clave noted. Every child played is compared with
// this, and a search that ever finds them apart starts again without it (Resolver).
TClave TBusqueda::Prever(const std::uint8_t* padre, TClave clave, const TMovimiento& mv) const {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = padre + n + 1;
  const std::uint8_t* resto = cartas + 40;
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(resto[1] | (resto[2] << 8))];
  const std::size_t s = mv.Pila;
  const std::size_t d = mv.Destino;
  const std::uint8_t* a = cartas + inicioPila_[d];
  std::array<std::uint8_t, 40> tras;
  if (giratorio_ && s == descarte_) {
    // The waste's card the clicks bring up leaves the sequence and goes face up on the
    // other pile; the sequence's share is the stock's.
    const std::size_t corte = padre[s];
    std::array<std::uint8_t, 40> giro;
    const std::size_t vuelta =
        LlenarGiro(giro, cartas + inicioPila_[s], corte, cartas + inicioPila_[n], padre[n]);
    const std::size_t q = (corte + mv.Clics) % (vuelta + 1);
    const std::uint8_t carta = giro[q - 1];
    std::memmove(giro.data() + q - 1, giro.data() + q, vuelta - q);
    const TClave sigue = ClaveDeCartas(giro.data(), vuelta - 1, 0xFFFF);
    std::memcpy(tras.data(), a, padre[d]);
    tras[padre[d]] = carta | kBocaArriba;
    const TClave hacia = ClaveDeCartas(tras.data(), padre[d] + 1, e.Clase[d]);
    clave.A += sigue.A + hacia.A - clavePila_[n].A - clavePila_[d].A;
    clave.B += sigue.B + hacia.B - clavePila_[n].B - clavePila_[d].B;
    return clave;
  }
  if (descarteClics_ != SIZE_MAX && s == descarteClics_ && mv.Clics > 0) {
    // After the clicks the waste's top card goes face up on the other pile: the waste, that
    // pile, the stock and the redeals left change.
    std::array<std::uint8_t, 256 + 40 + 3> foto;
    LaidoTrasClics(padre, mv.Clics, foto.data());
    const std::uint8_t* c = foto.data() + n + 1;
    const std::size_t enDescarte = foto[s];
    std::size_t enPilas = 0;
    for (std::size_t i = 0; i < n; ++i) enPilas += foto[i];
    const std::size_t inicio = inicioPila_[s];  // the piles before the waste kept theirs
    const std::uint8_t carta = c[inicio + enDescarte - 1];
    const TClave descarte = ClaveDeCartas(c + inicio, enDescarte - 1, e.Clase[s]);
    const TClave mazo = ClaveDeCartas(c + enPilas, foto[n], 0xFFFF);
    std::memcpy(tras.data(), a, padre[d]);
    tras[padre[d]] = carta | kBocaArriba;
    const TClave hacia = ClaveDeCartas(tras.data(), padre[d] + 1, e.Clase[d]);
    const TClave antes = ClaveDelResto(resto);
    const TClave despues = ClaveDelResto(c + 40);
    clave.A += descarte.A + hacia.A + mazo.A + despues.A - clavePila_[s].A - clavePila_[d].A -
               clavePila_[n].A - antes.A;
    clave.B += descarte.B + hacia.B + mazo.B + despues.B - clavePila_[s].B - clavePila_[d].B -
               clavePila_[n].B - antes.B;
    return clave;
  }
  const std::uint8_t* de = cartas + inicioPila_[s];
  const std::size_t queda = mv.Posicion;
  const std::size_t tramo = padre[s] - queda;
  CopiarCorto(tras.data(), de, queda);
  if (queda > 0) tras[queda - 1] |= kBocaArriba;
  const TClave desde = ClaveDeCartas(tras.data(), queda, e.Clase[s]);
  CopiarCorto(tras.data(), a, padre[d]);
  CopiarCorto(tras.data() + padre[d], de + queda, tramo);
  const TClave hacia = ClaveDeCartas(tras.data(), padre[d] + tramo, e.Clase[d]);
  clave.A += desde.A + hacia.A - clavePila_[s].A - clavePila_[d].A;
  clave.B += desde.B + hacia.B - clavePila_[s].B - clavePila_[d].B;
  return clave;
}

// The drag-over decision a player's drop would meet, as the table tool's drag asks it.
// Without callbacks that decision is the table's rule function for the pile, on a face-up
// card from another pile: asked straight, as the check mode confirms.
bool TBusqueda::Acepta(TCarta& carta, TPila& destino, const TPila& desde) {
  if (conLlamadas_ || comprobar_) {
    const bool mesa = destino.Tope ? m_.ArrastrarSobreCarta(*destino.Tope, carta, 1, 1)
                                   : &destino != &desde && m_.ArrastrarSobrePila(destino, carta, 1, 1);
    if (conLlamadas_) return mesa;
    if (mesa != AceptaRegla(carta, destino, desde)) ++r_.Desajustes;
    return mesa;
  }
  return AceptaRegla(carta, destino, desde);
}

bool TBusqueda::AceptaRegla(TCarta& carta, TPila& destino, const TPila& desde) const {
  if (!carta.BocaArriba || &destino == &desde || carta.Pila == &destino) return false;
  if (destino.Tope) return m_.PuedeApilar(carta, destino);
  return destino.Grupo->EsFundacion ? m_.PuedeFundar(carta, destino)
                                    : m_.PuedeOcuparVacia(carta, destino);
}

// A card X may go home at once, without trying anything else, when the table's rules are
// plain data (no hooks, or rule functions read as data once read, single cards moving),
// foundations keep their cards, X's suit has one foundation that
// builds by suit, and every card that any other pile could lay on X is home already:
// then X serves no purpose off its foundation, and any winning line still wins with X
// home first. The window's automatic drop asks the same question (Seguras.h).
// On a table without hooks the same holds when the cards that could lie on X and are not
// home are free cards (Libres.h): the next of their suits, nothing off the foundations
// left to lie on them. A winning line that lays such a card Y on X can send Y home
// instead at that step: Y's foundation takes nothing else first, takes cards from Y's
// pile, and nothing is laid on Y; so X only ever holds Y, at a pile's top, and the line
// without X and those Y meets every other pile as it was.
void TBusqueda::CalcularSeguros() {
  const TSeguras s = CalcularSeguras(m_, reglas_);
  seguroPosible_ = s.Posible;
  necesita_ = s.Necesita;
  libresPosibles_ = seguroPosible_ && LibresPosibles(m_, reglas_);
  if (!seguroPosible_) vuelta_ = CalcularSegurasConVuelta(m_, reglas_);
  bloqueos_ = CalcularBloqueos(m_, reglas_, s);
  trabadas_ = CalcularTrabadas(m_, reglas_);
  rachas_ = PrepararRachas(m_, reglas_);
  rachasRecordadas_.Limitar(limiteBytes_ / 64);  // a small share of what the search holds
  desentierro_.Limitar(limiteBytes_ / 64);
  // Where every group that takes cards from a group's piles also takes them from the
  // waste, what a waste's card does once on such a pile it could do from the waste; and
  // where the game is won with every card home (Bloqueos.h), one never laid upon may stay
  // in the stock until it goes home.
  perezoso_.assign(m_.Grupos.size(), false);
  if (giratorio_ && bloqueos_.Posible) {
    const TGrupo* descarte = pilas_[descarte_]->Grupo;
    for (std::size_t g = 0; g < m_.Grupos.size(); ++g) {
      const TGrupo* t = m_.Grupos[g];
      bool igual = !t->EsFundacion;
      for (const TGrupo* otro : m_.Grupos)
        if (AceptaOrigen(t, *otro) && !AceptaOrigen(descarte, *otro)) igual = false;
      perezoso_[g] = igual;
    }
  }
}

// Whether some card of the position can never leave its pile (Bloqueos.h): then it never
// goes home and no line from here wins; so, too, where a top card waits for a card whose
// one way out is onto it, and neither could leave after (HayEsperaSinSalida). The stock's
// piles are left out: the stock turns their cards round or lays cards on them. Where it
// deals only to its waste and turns round, their cards come out only laid on the others'
// (the waste's cards stay in the stock's round until then).
//
// Every position expanded but the first is a child of one whose reading found no card
// stuck (it would have had no children): where the move into it laid cards on a card or
// sent one home, the reading of stuck cards is skipped when those cards show it could not
// have made one stuck (SinBloqueoTrasLlegar, SinBloqueoTrasSubir). Its places reading found
// no pile short either, and after such a move only the piles the move could have changed
// that way are read (SitiosPorLeerTrasLlegar, SitiosPorLeerTrasSubir). The waiting card is
// read at every position.
bool TBusqueda::Bloqueada(const std::uint8_t* foto, const TMovimiento* entrada) {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  const TEstructura& e =
      estructuras_[static_cast<std::uint16_t>(cartas[41] | (cartas[42] << 8))];
  std::array<TMontonBloqueable, 64> montones;
  std::array<std::uint64_t, 64> cartasDe;  // each pile's cards, by its index in `montones`
  std::size_t cuantos = 0;
  std::uint64_t enCasa = 0;
  std::uint64_t enMazo = 0;
  bool hayVacia = false;
  std::uint64_t tomanVacias = 0;  // by their index in `montones`
  std::uint64_t tramoLibre = 0;   // the same
  std::uint64_t tapadas = 0;      // the cards of `montones` with a card on them
  // The move's pile laid on, and the pile it took cards from where that is read now, by
  // their index in `montones`, where the move can be read from.
  std::size_t llegada = SIZE_MAX;
  std::size_t salida = SIZE_MAX;
  const bool leerLlegada = entrada && entrada->Pila != kMazo && entrada->Pila < n &&
                           entrada->Destino < n && !e.EsFundacion[entrada->Pila];
  bool subida = false;  // the move sent its one card home
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; k += foto[i], ++i) {
    if (e.EsFundacion[i]) {
      for (std::size_t j = 0; j < foto[i]; ++j) enCasa |= std::uint64_t{1} << (cartas[k + j] & 0x3F);
      subida = subida || (leerLlegada && i == entrada->Destino && foto[i] > 0 &&
                          (cartas[k + foto[i] - 1] & 0x3F) == entrada->Carta);
      continue;
    }
    if (especial_[i] && giratorio_)
      for (std::size_t j = 0; j < foto[i]; ++j) enMazo |= std::uint64_t{1} << (cartas[k + j] & 0x3F);
    // An empty pile, or one left out, that could take a card: an empty pile may be there.
    if (especial_[i] || foto[i] == 0 || cuantos == montones.size()) {
      hayVacia = hayVacia || !e.Grupos[i]->ReglasVacia.empty();
      continue;
    }
    std::uint8_t cubiertas = 0;
    while (cubiertas < foto[i] && !(cartas[k + cubiertas] & kBocaArriba)) ++cubiertas;
    tomanVacias |= static_cast<std::uint64_t>(!e.Grupos[i]->ReglasVacia.empty()) << cuantos;
    tramoLibre |= static_cast<std::uint64_t>(e.Grupos[i]->TramoLibre) << cuantos;
    // The pile's cards as a set, for the places reading and its checks.
    std::uint64_t pila = 0;
    for (std::size_t j = 0; j < foto[i]; ++j) pila |= std::uint64_t{1} << (cartas[k + j] & 0x3F);
    cartasDe[cuantos] = pila;
    tapadas |= pila & ~(std::uint64_t{1} << (cartas[k + foto[i] - 1] & 0x3F));
    if (leerLlegada && i == entrada->Destino) llegada = cuantos;
    if (leerLlegada && i == entrada->Pila) salida = cuantos;
    montones[cuantos++] = TMontonBloqueable{cartas + k, foto[i], cubiertas};
  }
  prep_.EnCasaDe = foto;
  prep_.EnCasa = enCasa;
  if (giratorio_)
    for (std::size_t j = 0; j < foto[n]; ++j) enMazo |= std::uint64_t{1} << (cartas[k + j] & 0x3F);
  // The high cards' games where the stock turns round, from the position searched: the
  // first reading of the table is of it.
  if (!conMazoLeido_ && giratorio_ && bloqueos_.Posible) {
    conMazoLeido_ = true;
    proximoConMazo_ = kConMazoCada;
    if (!conMazo_->Leido) {
      conMazo_->Leido = true;
      std::size_t vacias = 0;
      for (std::size_t i = 0; i < n; ++i)
        vacias += !e.EsFundacion[i] && !especial_[i] && foto[i] == 0 && !e.Grupos[i]->ReglasVacia.empty();
      LeerConMazo(montones.data(), cuantos, vacias, enMazo, enCasa);
      if (perdida_) return true;
    }
  }
  bool libre = false;
  std::uint64_t sitios = ~std::uint64_t{0};  // the piles the places reading reads
  if (llegada != SIZE_MAX) {
    // The run's lowest card, above the card it was laid on; a run of several only from a
    // pile read in both positions.
    const TMontonBloqueable& p = montones[llegada];
    std::size_t desde = p.Cuenta;
    while (desde > 0 && (p.Cartas[desde - 1] & 0x3F) != entrada->Carta) --desde;
    if (desde > 1 && (desde == p.Cuenta || !especial_[entrada->Pila]))
      libre = SinBloqueoTrasLlegar(bloqueos_, p, desde - 1, tapadas, enCasa, enMazo);
    if (desde > 0)
      sitios = SitiosPorLeerTrasLlegar(bloqueos_, montones.data(), cartasDe.data(), llegada,
                                       desde - 1, salida);
  } else if (subida) {
    libre = SinBloqueoTrasSubir(bloqueos_, montones.data(), cuantos, entrada->Carta, tapadas,
                                enCasa, enMazo);
    sitios = SitiosPorLeerTrasSubir(bloqueos_, cartasDe.data(), cuantos, entrada->Carta, salida);
  }
  if (HayEsperaSinSalida(bloqueos_, montones.data(), cuantos, enCasa, enMazo, tramoLibre, tapadas))
    return true;
  return (!libre &&
          HayBloqueo(bloqueos_, montones.data(), cuantos, enCasa, enMazo, hayVacia, tomanVacias)) ||
         (sitios && FaltanSitios(bloqueos_, montones.data(), cuantos, enCasa, tramoLibre, sitios,
                                 cartasDe.data()));
}

// Whether some card of the position never leaves its place (Trabadas.h). The stock's piles
// are left out, as in Bloqueada.
bool TBusqueda::Trabada(const std::uint8_t* foto) const {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  const TEstructura& e =
      estructuras_[static_cast<std::uint16_t>(cartas[41] | (cartas[42] << 8))];
  std::array<TMontonTrabado, 64> montones;
  std::size_t cuantos = 0;
  for (std::size_t i = 0, k = 0; i < n; k += foto[i], ++i) {
    if (e.EsFundacion[i] || especial_[i] || foto[i] == 0) continue;
    if (cuantos == montones.size()) return false;
    montones[cuantos++] = TMontonTrabado{cartas + k, foto[i], static_cast<std::uint8_t>(e.Firma[i])};
  }
  return HayTrabada(trabadas_, montones.data(), cuantos);
}

bool TBusqueda::VistasDe(const std::uint8_t* foto, TVistas& vistas, std::size_t& cuantas,
                         std::uint64_t& enCasa) const {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  const TEstructura& e =
      estructuras_[static_cast<std::uint16_t>(cartas[41] | (cartas[42] << 8))];
  cuantas = 0;
  enCasa = 0;
  for (std::size_t i = 0, k = 0; i < n; k += foto[i], ++i) {
    if (e.EsFundacion[i]) {
      for (std::size_t j = 0; j < foto[i]; ++j) enCasa |= std::uint64_t{1} << (cartas[k + j] & 0x3F);
    } else if (foto[i]) {
      if (cuantas == vistas.size()) return false;
      vistas[cuantas++] = TPilaVista{cartas + k, foto[i], llena_[i]};
    }
  }
  return true;
}

bool TBusqueda::FaltaSitioEn(const TVistas& vistas, std::size_t cuantas, std::uint64_t enCasa) {
  // The first readings lay every card and count the piles' room too: dearer, they prove
  // at once the deals lost from the start for want of room (Aparcadas.h), and later ones
  // read as before.
  const bool fuerte = sitioFuertes_ < kSitiosFuertes;
  const bool falta = FaltaSitio(sinSalida_, vistas.data(), cuantas, enCasa, fuerte,
                                ~std::uint64_t{0}, nullptr, &cadenaSitio_);
  if (fuerte)
    ++sitioFuertes_;  // left out of the yield that schedules the readings
  else
    sitioRinde_.Anotar(falta);
  return falta;
}

// The move into the position sent one card home from the top of a pile off the
// foundations, its one card moved (SinEncalladasTrasSubir reads the rest).
bool TBusqueda::SinEncalladaTrasSubir(const std::uint8_t* foto, const TMovimiento* entrada,
                                      const TVistas& vistas, std::size_t cuantas,
                                      std::uint64_t enCasa) const {
  const std::size_t n = pilas_.size();
  if (!entrada || entrada->Pila >= n || entrada->Destino >= n || entrada->Clics != 0)
    return false;
  const std::uint8_t* cartas = foto + n + 1;
  const TEstructura& e =
      estructuras_[static_cast<std::uint16_t>(cartas[41] | (cartas[42] << 8))];
  return !e.EsFundacion[entrada->Pila] && e.EsFundacion[entrada->Destino] &&
         foto[entrada->Pila] == entrada->Posicion &&
         SinEncalladasTrasSubir(encalladas_, entrada->Carta, entrada->Posicion, vistas.data(),
                                cuantas, enCasa);
}

bool TBusqueda::AltasSinSalidaEn(const TVistas& vistas, std::size_t cuantas,
                                  std::uint64_t enCasa) {
  const std::size_t juegos = altasPorPosicion_->Juegos();
  // A new game is walked only while the games' positions are no more than the search's:
  // where the readings cut little, most games are won ones that cost without cutting.
  // Nor where the games that proved nothing (won, or given up) have cost more than
  // kEnBalde positions and kEnBaldePorCorte per position the readings cut: on a deal whose
  // games are nearly all won, they would spend as many positions as the search for a
  // few hundred cuts.
  const bool jugar = altasPorPosicion_->Vistas() <= r_.Posiciones &&
                     altasPorPosicion_->VistasEnBalde() <=
                         kEnBalde + kEnBaldePorCorte * altasPorPosicion_->Perdidas();
  const bool sin = altasPorPosicion_->SinSalida(vistas.data(), cuantas, enCasa, jugar);
  // Where what it keeps could not double in the memory left, it is given up.
  if (altasPorPosicion_->Juegos() != juegos &&
      BytesEnUso() + altasPorPosicion_->Bytes() > limiteBytes_)
    altasPorPosicion_.reset();
  return sin;
}

// What Generar asks of every pile before it looks at the cards: the cards not home, and
// which cards each pile may take.
void TBusqueda::PrepararDestinos(const std::uint8_t* foto, const TEstructura& e) {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  // The functions' reading bounds what is asked of them once they have been asked as
  // often as the reading asks them (kPreguntasAntesDeLeer), or from the 4,096th position:
  // the same moves, as it leaves out only what they refuse. What else it turns on waits
  // for the 4,096th, as it did.
  if (!ganchosFiltro_ && (r_.Posiciones >= 4096 || preguntas_ >= kPreguntasAntesDeLeer) &&
      (ganchosApila_ || ganchosVacia_)) {
    // On a table with callbacks the reading, a top card at a time, bounds the questions
    // alone: what else reads it turns itself off there.
    if (conLlamadas_)
      porTope_ = std::make_unique<TGanchosPorTope>(m_, reglas_, ganchos_);
    else
      ganchos_ = LeerGanchos(m_, reglas_);
    ganchosFiltro_ = true;
  }
  if (!ganchosLeidos_ && r_.Posiciones >= 4096 && (ganchosApila_ || ganchosVacia_)) {
    ganchosLeidos_ = true;
    if (!sinSalida_.Posible) PrepararSinSalida(&ganchos_);
    fondosQuietos_ = FondosQuietos(m_, reglas_, &ganchos_);
    fondosSoloACasa_ = FondosSoloACasa(m_, fondosQuietos_);
    if (!seguroPosible_) {
      const TSeguras s = CalcularSeguras(m_, reglas_, ganchos_);
      seguroPosible_ = s.Posible;
      necesita_ = s.Necesita;
      libresPosibles_ = seguroPosible_ && LibresPosiblesLeidas(m_, reglas_);
      // The foundations as data, one per suit, keeping their cards and able to take all
      // forty: a game won only with every card home, which FaltaSitio rests on.
      sitioPosible_ = sinSalida_.Posible && CalcularBloqueos(m_, reglas_, s).Posible;
    }
    if (sitioPosible_) LeerAltasDeLaRaiz();
  }

  // Worked out in locals and stored once: a store through the snapshot's bytes could
  // alias prep_'s fields, so bits or'd into them in a loop would go to memory each time.
  std::uint64_t fuera = 0;  // cards not home
  const std::uint8_t* enCasaDe = prep_.EnCasaDe;
  prep_.EnCasaDe = nullptr;
  if (seguroPosible_ || vuelta_.Posible) {
    // Where the snapshot holds the forty cards, those not home are the rest of them.
    std::size_t k = 0;
    std::uint64_t enCasa = 0;
    if (enCasaDe == foto) {
      // Bloqueada has just read them.
      enCasa = prep_.EnCasa;
      for (std::size_t i = 0; i < n; ++i) k += foto[i];
    } else {
      for (std::size_t i = 0; i < n; ++i) {
        if (e.EsFundacion[i])
          for (std::size_t j = 0; j < foto[i]; ++j) enCasa |= std::uint64_t{1} << (cartas[k + j] & 0x3F);
        k += foto[i];
      }
    }
    if (k + foto[n] == 40) {
      fuera = ((std::uint64_t{1} << 40) - 1) & ~enCasa;
    } else {
      k = 0;
      for (std::size_t i = 0; i < n; ++i) {
        if (e.EsFundacion[i]) {
          k += foto[i];
          continue;
        }
        for (std::size_t j = 0; j < foto[i]; ++j, ++k) fuera |= std::uint64_t{1} << (cartas[k] & 0x3F);
      }
      for (std::size_t j = 0; j < foto[n]; ++j, ++k)
        fuera |= std::uint64_t{1} << (cartas[k] & 0x3F);
    }
  }
  prep_.Fuera = fuera;

  // Where the default rule functions decide, a pile's decision can only accept what its
  // group's rules lay on its top card, or put on an empty pile, of a group the pile takes
  // cards from, within its capacity (a foundation's empty pile aside), a single card unless
  // its group takes several, and then only a run its own group's rules laid (or any run
  // where the group moves free ones). The rest need not be asked. Where the table's own
  // rule functions decide, only the cards they accepted when read are asked of them.
  auto& admite = prep_.Admite;
  auto& porDatos = prep_.PorDatos;
  // Up to 64 piles, per card the piles that may take it, as bits: only those are visited.
  const bool porBits = prep_.PorBits = n <= 64 && !comprobar_;
  auto& destinos = prep_.Destinos;
  destinos.fill(0);
  std::uint64_t paraTodas = 0;  // piles that may take any card
  std::uint64_t tomanAlguna = 0;
  std::uint64_t porReglas = 0;  // piles whose decision the group's rules bound
  // A card with cards on it goes nowhere when no pile takes one: on piles the group's
  // rules bound, a group that takes single cards; on piles whose own function was read,
  // one that took no such card when read.
  bool tramos = false;
  // One pass over the piles for all of these, the flags it reads in locals: the stores into
  // the arrays above would have them read again for every pile.
  const bool apilaPorGanchos = ganchosApila_;
  const bool vaciaPorGanchos = ganchosVacia_;
  const bool apilaLeida = ganchos_.Apila;
  const bool vaciaLeida = ganchos_.Vacia;
  constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
  for (std::size_t d = 0; d < n; ++d) {
    const TPila& p = *pilas_[d];
    const auto g = static_cast<std::uint8_t>(e.Firma[d]);
    const bool datos = p.Tope ? !apilaPorGanchos : !vaciaPorGanchos;
    const bool leida = p.Tope ? apilaLeida : vaciaLeida;
    std::uint64_t toma;
    // A full pile the group's rules bound takes no card (Generar turns every one down for
    // its capacity): it drops out of every card's destinations (a free cell in use).
    if (datos)
      toma = !p.Tope                                 ? reglas_.Vacia[g]
             : p.Cantidad >= e.Grupos[d]->Capacidad ? 0
                                                     : reglas_.Apila[g][IdCarta(*p.Tope)];
    else if (leida) {
      if (porTope_ && p.Tope) porTope_->LeerTope(ganchos_, g, IdCarta(*p.Tope));
      toma = p.Tope ? ganchos_.ApilaGanchos[g][IdCarta(*p.Tope)] : ganchos_.VaciaGanchos[g];
    }
    else
      toma = ~std::uint64_t{0};
    // A full pile whose function, read, took nothing on a full pile of its group.
    if (p.Tope && apilaLeida && !datos && p.Cantidad == e.Grupos[d]->Capacidad &&
        !ganchos_.LlenaToma[g])
      toma = 0;
    porDatos[d] = datos;
    admite[d] = toma;
    if (datos) {
      if (d < 64) porReglas |= std::uint64_t{1} << d;
      tramos = tramos || e.Grupos[d]->VariasCartas;
    } else if (leida) {
      tramos = tramos || (p.Tope ? ganchos_.ApilaTramos[g] : ganchos_.VaciaTramos[g]);
    } else {
      tramos = true;
    }
    if (!porBits) continue;
    const std::uint64_t a = toma & kCuarenta;
    tomanAlguna |= static_cast<std::uint64_t>(a != 0) << d;
    if (a == kCuarenta) {
      paraTodas |= std::uint64_t{1} << d;
      continue;
    }
    for (std::uint64_t b = a; b; b &= b - 1)
      destinos[static_cast<std::size_t>(__builtin_ctzll(b))] |= std::uint64_t{1} << d;
  }
  prep_.TodoPorDatos = !apilaPorGanchos && !vaciaPorGanchos;
  prep_.ParaTodas = paraTodas;
  prep_.TomanAlguna = tomanAlguna;
  prep_.PorReglas = porReglas;
  // The free cards are worked out only when a card could go home (LeerLibres).
  prep_.Libres = 0;
  prep_.FondosLeidos = false;
  prep_.LibresLeidas = !libresPosibles_;
  // The cards a waste's card laid on a pile could be followed by at once: a card face up
  // on a pile, or one of the stock that could itself be followed so.
  if (giratorio_ && seguroPosible_) {
    std::uint64_t tumbadas = 0;
    std::size_t enPilas = 0;
    for (std::size_t i = 0; i < n; ++i) enPilas += foto[i];
    // Eight cards at a time: a word of eight face-up cards is passed over whole.
    std::size_t k = 0;
    for (; k + 8 <= enPilas; k += 8) {
      std::uint64_t w;
      std::memcpy(&w, cartas + k, 8);
      if ((~w & 0x4040404040404040ULL) == 0) continue;
      for (std::size_t j = k; j < k + 8; ++j)
        if (!(cartas[j] & kBocaArriba)) tumbadas |= std::uint64_t{1} << (cartas[j] & 0x3F);
    }
    for (; k < enPilas; ++k)
      if (!(cartas[k] & kBocaArriba)) tumbadas |= std::uint64_t{1} << (cartas[k] & 0x3F);
    std::uint64_t reserva = 0;  // the stock's and the waste's cards
    for (std::size_t i = 0, j = 0; i < n; j += foto[i], ++i)
      if (especial_[i])
        for (std::size_t q = j; q < j + foto[i]; ++q) reserva |= std::uint64_t{1} << (cartas[q] & 0x3F);
    for (std::size_t q = enPilas; q < enPilas + foto[n]; ++q)
      reserva |= std::uint64_t{1} << (cartas[q] & 0x3F);
    const std::uint64_t enPila = prep_.Fuera & ~tumbadas & ~reserva;
    prep_.Siguen.resize(perezoso_.size());
    for (std::size_t g = 0; g < perezoso_.size(); ++g) {
      if (!perezoso_[g]) continue;
      std::uint64_t siguen = enPila;
      for (bool mas = true; mas;) {
        mas = false;
        for (std::uint64_t r = reserva & ~siguen; r; r &= r - 1) {
          const auto y = static_cast<std::size_t>(__builtin_ctzll(r));
          if (reglas_.Apila[g][y] & siguen) {
            siguen |= std::uint64_t{1} << y;
            mas = true;
          }
        }
      }
      prep_.Siguen[g] = siguen;
    }
  }
  prep_.Tramos = tramos;
}

// A card that could lie on a card going home may still be on the table where it would go
// home the moment it is free: the cards the foundations take now, where their rules take
// one card at most, are the next of their suits. Read for the position PrepararDestinos
// read, the table holding it, the first time one of its cards could go home.
std::uint64_t TBusqueda::FondosDe(const std::uint8_t* foto, const TEstructura& e) const {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  std::uint64_t fondos = 0;
  for (std::size_t i = 0, k = 0; i < n; k += foto[i], ++i)
    if (!e.EsFundacion[i] && foto[i]) fondos |= std::uint64_t{1} << (cartas[k] & 0x3F);
  return fondos;
}

void TBusqueda::LeerLibres(const std::uint8_t* foto, const TEstructura& e) {
  const std::size_t n = pilas_.size();
  std::uint64_t siguientes = 0;
  for (std::size_t d = 0; d < n; ++d) {
    const TPila& p = *pilas_[d];
    if (!e.EsFundacion[d] || p.Cantidad >= e.Grupos[d]->Capacidad) continue;
    const auto g = static_cast<std::uint8_t>(e.Firma[d]);
    siguientes |= p.Tope ? reglas_.Apila[g][IdCarta(*p.Tope)] : reglas_.Vacia[g];
  }
  std::uint64_t fondos = 0;  // where they leave only for home, never laid on a card
  if (fondosSoloACasa_) {
    fondos = FondosDe(foto, e);
    prep_.Fondos = fondos;
    prep_.FondosLeidos = true;
  }
  prep_.Libres = CartasLibres(siguientes, prep_.Fuera, necesita_, fondos);
  prep_.LibresLeidas = true;
}

// The moves from the position the table holds, in the order that breaks ties between
// children of equal value: home, uncovering a card or emptying a pile, the stock, the
// rest, cards taken back from a foundation last. A safe move home comes alone.
bool TBusqueda::Generar(const std::uint8_t* foto, const TMovimiento* entrada, int soloPila,
                        std::uint8_t clics) {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  const std::uint8_t* resto = cartas + 40;
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(resto[1] | (resto[2] << 8))];
  auto& cubos = cubos_;
  for (auto& c : cubos) c.clear();
  // The waste's cards after each number of clicks go to the same piles as the position's
  // own: what the piles take is worked out once, by the position's own call.
  if (soloPila < 0) PrepararDestinos(foto, e);
  // The piles' part of the drag-over decisions, read once for all the cards asked.
  // Girar and Clicar turn this off before they ask about the waste's cards.
  const bool llamados = llamadosVigentes_ = conLlamadas_ && soloPila < 0;
  if (llamados) LeerLlamados(e);
  const std::uint64_t fuera = prep_.Fuera;
  const auto& admite = prep_.Admite;
  const auto& porDatos = prep_.PorDatos;
  const bool todoPorDatos = prep_.TodoPorDatos;
  const bool porBits = prep_.PorBits;
  const auto& destinos = prep_.Destinos;
  const std::uint64_t paraTodas = prep_.ParaTodas;
  const std::uint64_t porReglas = prep_.PorReglas;
  const std::uint64_t tomanAlguna = prep_.TomanAlguna;
  const bool tramos = prep_.Tramos;
  // Kept in locals: the loops below store through members, so the compiler would read
  // these again for every card.
  const bool comprobar = comprobar_;
  const bool conLlamadas = conLlamadas_;
  std::array<bool, 256> deAqui;  // the piles that take cards from this pile's group
  bool fondosLeidos = false;
  std::uint64_t fondos = 0;  // the bottom cards of the piles off the foundations
  if ((giratorio_ || descarteClics_ != SIZE_MAX) && soloPila < 0) {
    giroPorBits_ = porBits;
    if (porBits) {
      const std::size_t w = giratorio_ ? descarte_ : descarteClics_;
      for (std::size_t id = 0; id < 40; ++id) destinosGiro_[id] = destinos[id] | paraTodas;
      desdeDescarte_ = (e.TomaDeBits[w] | ~porReglas) & ~(std::uint64_t{1} << w);
    }
  }
  std::size_t siguiente = 0;  // where the next pile's cards start in the snapshot
  for (std::size_t s = 0; s < n; ++s) {
    // The pile's cards as the snapshot holds them (the table holds the same): read from
    // its bytes, not by following the cards from one to the next.
    const std::uint8_t* pila = cartas + siguiente;
    const int cuenta = foto[s];
    siguiente += foto[s];
    if (soloPila >= 0 && s != static_cast<std::size_t>(soloPila)) continue;
    TPila& desde = *pilas_[s];
    const TGrupo* origen = e.Grupos[s];
    std::uint64_t deAquiBits = 0;
    if (porBits) {
      deAquiBits = (e.TomaDeBits[s] | ~porReglas) & ~(std::uint64_t{1} << s);
      // No pile that takes some card takes cards from this one (a foundation that keeps its
      // cards): none of its cards has a destination, so its face-up run is not walked.
      if ((deAquiBits & tomanAlguna) == 0) continue;
    } else {
      for (std::size_t d = 0; d < n; ++d) deAqui[d] = d != s && (!porDatos[d] || e.TomaDe[s * n + d]);
    }
    const auto& apilaAqui = reglas_.Apila[static_cast<std::uint8_t>(e.Firma[s])];
    const bool tramoLibre = origen->TramoLibre;
    int pos = cuenta - 1;
    unsigned largo = 0;
    bool tramoValido = true;
    for (; pos >= 0 && (pila[pos] & kBocaArriba); --pos) {
      const std::uint8_t id = pila[pos] & 0x3F;
      const bool conEncima = pos + 1 < cuenta;
      ++largo;
      if (largo > 1 && !tramos && !comprobar) break;
      if (conEncima && !tramoLibre && !(apilaAqui[id] >> (pila[pos + 1] & 0x3F) & 1)) {
        // No default rule function moves a run its group did not lay, nor any run
        // below it.
        if (todoPorDatos && !comprobar) break;
        tramoValido = false;
      }
      // Most cards of a run have no pile to go to: nothing more is read for them.
      if (porBits && ((destinos[id] | paraTodas) & deAquiBits) == 0) continue;
      TCarta* const c = porId_[id];
      const bool sobreTapada = pos > 0 && !(pila[pos - 1] & kBocaArriba);
      // The kinds of empty pile this card was tried on: marked with this card's stamp.
      if (++sello_ == 0) {  // after four thousand million cards, old stamps would match
        claseVacia_.fill(0);
        sello_ = 1;
      }
      const std::uint32_t sello = sello_;
      std::uint64_t quedan = porBits ? (destinos[id] | paraTodas) & deAquiBits : 0;
      for (std::size_t d = 0; d < n; ++d) {
        if (porBits) {
          if (quedan == 0) break;
          d = static_cast<std::size_t>(__builtin_ctzll(quedan));
          quedan &= quedan - 1;
        }
        TPila& hacia = *pilas_[d];
        bool descartada = (!porBits && !deAqui[d]) || !(admite[d] >> id & 1);
        if (porDatos[d] && !descartada) {
          const TGrupo& g = *e.Grupos[d];
          descartada = (largo > 1 && (!tramoValido || !g.VariasCartas)) ||
                       ((hacia.Tope || !g.EsFundacion) && largo + hacia.Cantidad > g.Capacidad);
        } else if (largo > 1 && !descartada && (hacia.Tope ? ganchos_.Apila : ganchos_.Vacia)) {
          // The table's own function, read, took no card with a card on it there.
          const auto g = static_cast<std::uint8_t>(e.Firma[d]);
          descartada = !(hacia.Tope ? ganchos_.ApilaTramos[g] : ganchos_.VaciaTramos[g]);
        }
        if (descartada) {
          if (comprobar_ && d != s && Acepta(*c, hacia, desde)) ++r_.Desajustes;
          continue;
        }
        // On a stock that turns round every card of it is at hand at any time. A winning
        // line that lays the waste's card W on a pile and does not lay a card on W at once
        // wins as well with W left in the stock until a card is laid on it, and laid then on
        // the card it lay on (still that pile's top): the moves in between meet the same
        // piles but that one, whose top card moves alone where it moved under W, and W's own
        // moves from the pile it can make from the waste (perezoso_). W never laid upon goes
        // home from the waste. So W goes on a pile only where some card could follow it at
        // once: one face up on a pile, or one of the stock that, laid on W, could itself be
        // followed at once so.
        if (giratorio_ && s == descarte_ && NadaLeSigue(e, d, id)) continue;
        // A pile's lone card is not laid on another pile of its group where that never
        // helps (Fondos.h).
        if (desde.Cantidad == 1 && hacia.Tope && e.Firma[s] == e.Firma[d] &&
            fondosQuietos_[static_cast<std::uint8_t>(e.Firma[s])] && !especial_[s] && !especial_[d])
          continue;
        if (llamados && hacia.Tope && llamados_[d].PorDefecto && !comprobar_) {
          // AceptaEn's decision on a pile with cards, without the call: the same answer.
          if (!AceptaLlamado(llamados_[d], e, *c, s, d, largo, tramoValido)) continue;
        } else if (porDatos[d] && !conLlamadas && !comprobar) {
          // What AceptaEn answers there, without the call: the rules as data, read above,
          // have decided; of the empty piles, one of each kind per card.
          if (!hacia.Tope) {
            const std::uint16_t clase = e.Clase[d];
            if (clase < 256) {
              if (claseVacia_[clase] == sello || (pos == 0 && e.Clase[s] == clase)) continue;
              claseVacia_[clase] = sello;
            }
          }
        } else if (!AceptaEn(e, *c, s, d, static_cast<std::size_t>(pos), sello, largo,
                             tramoValido)) {
          continue;
        }
        if (entrada && entrada->Puro && entrada->Carta == id && entrada->Pila == d &&
            entrada->Destino == s)
          continue;
        const bool puro = !conLlamadas_ && clics == 0 && !sobreTapada;
        const TMovimiento mv{static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(pos),
                             static_cast<std::uint8_t>(d), id, puro, clics};
        std::size_t cubo = 3;
        if (e.EsCasa[s]) {
          if (sinVueltas_) {
            vueltaOmitida_ = true;
            continue;
          }
          cubo = 4;
        } else if (e.EsCasa[d])
          cubo = 0;
        else if (sobreTapada || (pos == 0 && hacia.Tope))
          cubo = 1;
        if (cubo == 0 && seguroPosible_ && soloPila < 0 && e.EsFundacion[d] && !conEncima) {
          if (!prep_.LibresLeidas) LeerLibres(foto, e);
          // The bottom cards, where LeerLibres read them for this position.
          if (!fondosLeidos && prep_.FondosLeidos) {
            fondosLeidos = true;
            fondos = prep_.Fondos;
          }
          bool segura = (necesita_[id] & fuera & ~(std::uint64_t{1} << id) & ~prep_.Libres) == 0;
          // A card in the last place of a pile that full takes nothing, where that is the
          // third, takes a card again only once moved onto a pile's bottom card: empty
          // piles take nothing, so the bottom cards are those there now. Where none could
          // take it, no card is ever moved onto it, and a winning line that keeps it back
          // plays every other move just the same without it: it goes home safely.
          if (!segura && sinSalida_.Posible && llena_[s] >= 2 && llena_[s] <= 3 &&
              pos + 1 >= llena_[s]) {
            if (!fondosLeidos) {
              fondosLeidos = true;
              fondos = FondosDe(foto, e);
            }
            segura = (sinSalida_.Toman[id] & fondos) == 0;
          }
          // Where a pile's bottom card only ever leaves it for home, the bottom cards are
          // never laid on a card in a winning line as short as any (Fondos.h): a card that
          // only they, cards home and free cards could lie on goes home safely.
          if (!segura && fondosSoloACasa_) {
            if (!fondosLeidos) {
              fondosLeidos = true;
              fondos = FondosDe(foto, e);
            }
            segura = (necesita_[id] & fuera & ~(std::uint64_t{1} << id) & ~prep_.Libres & ~fondos) == 0;
          }
          if (segura) {
            movs_.push_back(mv);
            return true;
          }
        } else if (cubo == 0 && vuelta_.Posible && soloPila < 0 && e.EsFundacion[d] && !conEncima &&
                   (pos == 0 || (pila[pos - 1] & kBocaArriba)) &&
                   SeguraConVuelta(vuelta_, reglas_, static_cast<std::uint8_t>(e.Firma[s]), id,
                                   pos == 0 ? -1 : (pila[pos - 1] & 0x3F), fuera)) {
          // The winning lines it stands for may take it back: a try that takes nothing
          // back proves nothing after it.
          if (sinVueltas_) vueltaOmitida_ = true;
          movs_.push_back(mv);
          return true;
        }
        cubos[cubo].push_back(mv);
      }
    }
  }
  if (soloPila < 0 && !giratorio_ && descarteClics_ == SIZE_MAX && m_.Mazo && m_.Mazo->EnMesa &&
      (m_.Mazo->CartasMazo > 0 || m_.Mazo->PuedeReutilizar()))
    cubos[2].push_back(TMovimiento{kMazo, 0, 0, 0, false});
  for (const auto& c : cubos) movs_.insert(movs_.end(), c.begin(), c.end());
  return false;
}

void TBusqueda::Girar(const std::uint8_t* padre, const TMovimiento* entrada) {
  llamadosVigentes_ = false;  // the stock is laid otherwise for the waste's cards
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = padre + n + 1;
  std::size_t antes = 0;  // the cards of the piles before the waste
  for (std::size_t i = 0; i < descarte_; ++i) antes += padre[i];
  std::size_t enPilas = antes;
  for (std::size_t i = descarte_; i < n; ++i) enPilas += padre[i];
  const std::size_t corte = padre[descarte_];
  std::array<std::uint8_t, 40> giro;
  const std::size_t vuelta = LlenarGiro(giro, cartas + antes, corte, cartas + enPilas, padre[n]);
  // Without callbacks a pile's decision reads of the card dragged only the card, the pile
  // it leaves and the cards on it, and nothing but the waste and the stock differs from
  // the parent after the clicks: each card is asked about where it lies on the table,
  // without laying the stock and the waste out for it. The check mode lays them out all
  // the same, and compares.
  const std::size_t primera = movs_.size();
  if (!conLlamadas_) {
    const TEstructura& e =
        estructuras_[static_cast<std::uint16_t>(cartas[41] | (cartas[42] << 8))];
    for (std::size_t q = 1; q <= vuelta; ++q) {
      if (q == corte) continue;
      if (giroPorBits_ && !comprobar_ && (destinosGiro_[giro[q - 1]] & desdeDescarte_) == 0)
        continue;
      const auto clics = static_cast<std::uint8_t>((q + vuelta + 1 - corte) % (vuelta + 1));
      GenerarDelGiro(e, giro[q - 1], q, clics, entrada);
    }
    if (!comprobar_) {
      SeguraDelGiro(padre, e, primera);
      return;
    }
  }
  const std::vector<TMovimiento> sinMesa(movs_.begin() + static_cast<std::ptrdiff_t>(primera),
                                         movs_.end());
  movs_.resize(primera);
  bool movida = false;
  for (std::size_t q = 1; q <= vuelta; ++q) {
    if (q == corte) continue;
    if (giroPorBits_ && !comprobar_ && (destinosGiro_[giro[q - 1]] & desdeDescarte_) == 0) continue;
    // The waste holding the first q cards face up, the stock the rest; nothing else moves.
    std::vector<std::uint8_t>& foto = giros_[movida && enMesa_ == giros_[0].data() ? 1 : 0];
    foto.assign(padre, padre + tamFoto_);
    foto[descarte_] = static_cast<std::uint8_t>(q);
    foto[n] = static_cast<std::uint8_t>(vuelta - q);
    std::uint8_t* a = foto.data() + n + 1;
    for (std::size_t j = 0; j < q; ++j) a[antes + j] = giro[j] | kBocaArriba;
    const std::size_t tras = enPilas - antes - corte;  // the cards of the piles after it
    std::memcpy(a + antes + q, cartas + antes + corte, tras);
    std::memcpy(a + antes + q + tras, giro.data() + q, vuelta - q);
    Escribir(foto.data());
    movida = true;
    const auto clics = static_cast<std::uint8_t>((q + vuelta + 1 - corte) % (vuelta + 1));
    Generar(foto.data(), entrada, static_cast<int>(descarte_), clics);
  }
  if (movida) Escribir(padre);
  if (!conLlamadas_) {
    const auto igual = [](const TMovimiento& x, const TMovimiento& y) {
      return x.Pila == y.Pila && x.Posicion == y.Posicion && x.Destino == y.Destino &&
             x.Carta == y.Carta && x.Puro == y.Puro && x.Clics == y.Clics;
    };
    if (!std::equal(sinMesa.begin(), sinMesa.end(),
                    movs_.begin() + static_cast<std::ptrdiff_t>(primera), movs_.end(), igual))
      ++r_.Desajustes;
    SeguraDelGiro(padre,
                  estructuras_[static_cast<std::uint16_t>(cartas[41] | (cartas[42] << 8))],
                  primera);
  }
}

// A card of the stock's round that would go home safely, as Generar reads it for a top
// card, comes alone: every card of the round is at hand at any time, clicks away, and the
// cut is no part of the position, so a winning line plays as well with it sent home first
// (the reasoning of CalcularSeguros: nothing is ever laid on it that could not go home
// instead). Without it, a lost deal's search walks every position twice over, once with
// the card in the stock and once with it home.
void TBusqueda::SeguraDelGiro(const std::uint8_t* padre, const TEstructura& e,
                              std::size_t primera) {
  if (!seguroPosible_) return;
  for (std::size_t k = primera; k < movs_.size(); ++k) {
    const TMovimiento mv = movs_[k];
    if (!e.EsCasa[mv.Destino] || !e.EsFundacion[mv.Destino]) continue;
    if (!prep_.LibresLeidas) LeerLibres(padre, e);
    if ((necesita_[mv.Carta] & prep_.Fuera & ~(std::uint64_t{1} << mv.Carta) & ~prep_.Libres) != 0)
      continue;
    movs_.clear();
    movs_.push_back(mv);
    return;
  }
}

// The waste's top card's drags after each number of clicks the stock allows (Clics.h),
// each card asked about where it lies, as for a stock that turns round: the clicks change
// nothing else, so the table is not laid out for them.
void TBusqueda::Clicar(const std::uint8_t* padre, const TMovimiento* entrada) {
  llamadosVigentes_ = false;  // the stock is laid otherwise for the waste's cards
  const std::size_t n = pilas_.size();
  const std::size_t w = descarteClics_;
  const std::uint8_t* cartas = padre + n + 1;
  std::size_t antes = 0;  // the cards of the piles before the waste
  for (std::size_t i = 0; i < w; ++i) antes += padre[i];
  std::size_t enPilas = antes;
  for (std::size_t i = w; i < n; ++i) enPilas += padre[i];
  // The cards in the order the clicks deal them: the stock's from its top, then, after a
  // redeal, the waste's from its bottom and those after them.
  std::array<std::uint8_t, 40> giro;
  const std::size_t vuelta = LlenarGiro(giro, cartas + antes, padre[w], cartas + enPilas, padre[n]);
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(cartas[41] | (cartas[42] << 8))];
  std::size_t desde = padre[w];  // the next card dealt is giro[desde]
  int redeals = static_cast<std::int8_t>(cartas[40]);
  std::size_t clics = 0;
  for (;;) {
    if (desde == vuelta) {
      // The stock is empty: a click redeals the waste, if it may, and shows no card.
      if (redeals <= 0) break;
      --redeals;
      desde = 0;
      ++clics;
      continue;
    }
    ++clics;
    const std::uint8_t id = giro[desde++];
    if (clics > 255) break;  // never: at most four redeals of forty cards and the clicks
    if (giroPorBits_ && !comprobar_ && (destinosGiro_[id] & desdeDescarte_) == 0) continue;
    GenerarDelGiro(e, id, desde, static_cast<std::uint8_t>(clics), entrada);
  }
}

// What Generar does for the waste's top card, for a card that lies elsewhere in the waste
// or in the stock: alone, face up, a waste's card for the pile's decision while it is
// asked, its place on the table put back after. It is never a safe move home (Generar
// plays those before the stock turns), never undoes the move before it (nothing is laid on
// the waste) and, after clicks, never pure.
void TBusqueda::GenerarDelGiro(const TEstructura& e, std::uint8_t id, std::size_t q,
                               std::uint8_t clics, const TMovimiento* entrada) {
  const std::size_t n = pilas_.size();
  const std::size_t s = giratorio_ ? descarte_ : descarteClics_;
  TPila& desde = *pilas_[s];
  TCarta& c = *porId_[id];
  TPila* const pila = c.Pila;
  TCarta* const encima = c.Encima;
  const bool arriba = c.BocaArriba;
  c.Pila = &desde;
  c.Encima = nullptr;
  c.BocaArriba = true;
  const bool porBits = prep_.PorBits;
  const auto& admite = prep_.Admite;
  const auto& porDatos = prep_.PorDatos;
  const auto pos = static_cast<std::uint8_t>(q - 1);
  for (auto& k : cubos_) k.clear();
  if (++sello_ == 0) {
    claseVacia_.fill(0);
    sello_ = 1;
  }
  const std::uint32_t sello = sello_;
  std::uint64_t quedan = porBits ? (prep_.Destinos[id] | prep_.ParaTodas) & desdeDescarte_ : 0;
  for (std::size_t d = 0; d < n; ++d) {
    if (porBits) {
      if (quedan == 0) break;
      d = static_cast<std::size_t>(__builtin_ctzll(quedan));
      quedan &= quedan - 1;
    } else if (d == s || (porDatos[d] && !e.TomaDe[s * n + d])) {
      continue;
    }
    if (!(admite[d] >> id & 1)) continue;
    TPila& hacia = *pilas_[d];
    const TGrupo& g = *e.Grupos[d];
    if (porDatos[d] && (hacia.Tope || !g.EsFundacion) && 1 + hacia.Cantidad > g.Capacidad)
      continue;
    // As in Generar: a waste's card goes on a pile only where a card could follow it.
    if (giratorio_ && NadaLeSigue(e, d, id)) continue;
    if (!AceptaEn(e, c, s, d, pos, sello)) continue;
    if (entrada && entrada->Puro && entrada->Carta == id && entrada->Pila == d &&
        entrada->Destino == s)
      continue;
    std::size_t cubo = 3;
    if (e.EsCasa[s])
      cubo = 4;
    else if (e.EsCasa[d])
      cubo = 0;
    else if (pos == 0 && hacia.Tope)
      cubo = 1;
    cubos_[cubo].push_back(TMovimiento{static_cast<std::uint8_t>(s), pos,
                                       static_cast<std::uint8_t>(d), id, false, clics});
  }
  c.Pila = pila;
  c.Encima = encima;
  c.BocaArriba = arriba;
  for (const auto& k : cubos_) movs_.insert(movs_.end(), k.begin(), k.end());
}

bool TBusqueda::AceptaEn(const TEstructura& e, TCarta& carta, std::size_t s, std::size_t d,
                          std::size_t pos, std::uint32_t sello, std::size_t largo,
                          bool tramoValido) {
  if (!ganchosFiltro_) ++preguntas_;
  TPila& hacia = *pilas_[d];
  const TPila& desde = *pilas_[s];
  const auto decide = [&] {
    // Where the engine's default function decides and no callback follows it, Generar has
    // already checked all that function checks, from the rules as data: the group's rules on
    // the top card or on an empty pile, the origins, the capacity and a run's order. The
    // check mode asks the table all the same, which must agree.
    if (!conLlamadas_ && prep_.PorDatos[d]) {
      if (!comprobar_) return true;
      const bool mesa = Acepta(carta, hacia, desde);
      if (!mesa) ++r_.Desajustes;
      return mesa;
    }
    if (conLlamadas_) {
      if (llamadosVigentes_) {
        // As AceptaConLlamadas decides, from what LeerLlamados read of the pile.
        const TLlamado& l = llamados_[d];
        if (l.PorDefecto && s != d) {
          const bool acepta = AceptaLlamado(l, e, carta, s, d, largo, tramoValido);
          if (comprobar_) {
            const bool mesa = l.Tope ? m_.ArrastrarSobreCarta(*l.Tope, carta, 1, 1)
                                     : m_.ArrastrarSobrePila(*l.Hacia, carta, 1, 1);
            if (mesa != acepta) ++r_.Desajustes;
            return mesa;
          }
          return acepta;
        }
        // Anywhere else AceptaConLlamadas, on the pile LeerLlamados read, has no answer of
        // its own: the table decides.
        return Acepta(carta, hacia, desde);
      }
      const std::optional<bool> si = AceptaConLlamadas(e, carta, s, d, largo, tramoValido);
      if (si) return *si;
    }
    return Acepta(carta, hacia, desde);
  };
  if (hacia.Tope) return decide();
  // One empty pile of each kind is enough; a whole pile to an empty one of its own kind
  // changes nothing on a table without hooks.
  const std::uint16_t clase = e.Clase[d];
  if (clase < 256) {
    if (claseVacia_[clase] == sello) return false;
    if (!conLlamadas_ && pos == 0 && e.Clase[s] == clase) return false;
  }
  if (!decide()) return false;
  if (clase < 256) claseVacia_[clase] = sello;
  return true;
}

// The table's drag-over decision on a card is its pile's rule function, then the pile's
// callback and the top card's, each given the answer so far. The default rule functions
// (capacity, the group's rules on the top card or on an empty pile, a run its own group
// laid, the origins) only read what the rules as data hold, so their answer is worked out
// from those, without walking the cards; the callbacks are asked all the same, in the same
// order, with the same answer, whatever it is: a callback may accept what the rules refuse.
// The check mode asks the table as well and compares.
std::optional<bool> TBusqueda::AceptaConLlamadas(const TEstructura& e, TCarta& carta,
                                                 std::size_t s, std::size_t d,
                                                 std::size_t largo, bool tramoValido) {
  TPila& hacia = *pilas_[d];
  TCarta* const tope = hacia.Tope;
  if (esMazo_[d] || s == d || (tope && tope->Pila != &hacia)) return std::nullopt;
  const TGrupo& g = *e.Grupos[d];
  const auto grupo = static_cast<std::uint8_t>(e.Firma[d]);
  const std::uint8_t id = IdCarta(carta);
  const bool tramo = largo == 1 || (g.VariasCartas && tramoValido);
  const bool origen = e.TomaDe[s * pilas_.size() + d] != 0;
  bool acepta;
  if (tope) {
    if (!apilaPorDefecto_) return std::nullopt;
    acepta = (reglas_.Apila[grupo][IdCarta(*tope)] >> id & 1) && tramo &&
             largo + hacia.Cantidad <= g.Capacidad && origen;
  } else if (g.EsFundacion) {
    if (!fundaPorDefecto_) return std::nullopt;
    acepta = (reglas_.Vacia[grupo] >> id & 1) && tramo && origen;
  } else {
    if (!ocupaPorDefecto_) return std::nullopt;
    acepta = (reglas_.Vacia[grupo] >> id & 1) && tramo && largo <= g.Capacidad && origen;
  }
  acepta = acepta && carta.BocaArriba;
  if (hacia.AlArrastrarSobre) hacia.AlArrastrarSobre(hacia, carta, 1, 1, acepta);
  if (tope && tope->AlArrastrarSobre) tope->AlArrastrarSobre(carta, *tope, 1, 1, acepta);
  if (comprobar_) {
    const bool mesa = tope ? m_.ArrastrarSobreCarta(*tope, carta, 1, 1)
                           : m_.ArrastrarSobrePila(hacia, carta, 1, 1);
    if (mesa != acepta) ++r_.Desajustes;
    return mesa;
  }
  return acepta;
}

void TBusqueda::LeerLlamados(const TEstructura& e) {
  const std::size_t n = pilas_.size();
  llamados_.resize(n);
  for (std::size_t d = 0; d < n; ++d) {
    TLlamado& l = llamados_[d];
    TPila& hacia = *pilas_[d];
    TCarta* const tope = hacia.Tope;
    const TGrupo& g = *e.Grupos[d];
    const auto grupo = static_cast<std::uint8_t>(e.Firma[d]);
    l.Hacia = &hacia;
    l.Tope = tope;
    l.Varias = g.VariasCartas;
    l.EnPila = hacia.AlArrastrarSobre;
    l.EnTope = tope ? tope->AlArrastrarSobre : nullptr;
    l.PorDefecto = !esMazo_[d] && !(tope && tope->Pila != &hacia) &&
                   (tope ? apilaPorDefecto_ : g.EsFundacion ? fundaPorDefecto_ : ocupaPorDefecto_);
    if (tope) {
      l.Reglas = reglas_.Apila[grupo][IdCarta(*tope)];
      l.Cabe = g.Capacidad > hacia.Cantidad ? std::size_t{g.Capacidad} - hacia.Cantidad : 0;
    } else {
      l.Reglas = reglas_.Vacia[grupo];
      l.Cabe = g.EsFundacion ? SIZE_MAX : g.Capacidad;
    }
  }
}

// The position after `clics` clicks from `padre`, where clicks are joined (Clics.h): the
// waste holds the first cards of the order the clicks deal in, the stock the rest, and
// each redeal starts that order again.
void TBusqueda::LaidoTrasClics(const std::uint8_t* padre, std::size_t clics, std::uint8_t* foto) const {
  const std::size_t n = pilas_.size();
  const std::size_t w = descarteClics_;
  const std::uint8_t* cartas = padre + n + 1;
  std::size_t antes = 0;
  for (std::size_t i = 0; i < w; ++i) antes += padre[i];
  std::size_t enPilas = antes;
  for (std::size_t i = w; i < n; ++i) enPilas += padre[i];
  std::array<std::uint8_t, 40> giro;
  const std::size_t vuelta = LlenarGiro(giro, cartas + antes, padre[w], cartas + enPilas, padre[n]);
  std::size_t desde = padre[w];
  auto redeals = static_cast<std::int8_t>(cartas[40]);
  for (std::size_t q = 0; q < clics; ++q) {
    if (desde < vuelta) {
      ++desde;
    } else {
      --redeals;
      desde = 0;
    }
  }
  std::memcpy(foto, padre, tamFoto_);
  foto[w] = static_cast<std::uint8_t>(desde);
  foto[n] = static_cast<std::uint8_t>(vuelta - desde);
  std::uint8_t* a = foto + n + 1;
  for (std::size_t j = 0; j < desde; ++j) a[antes + j] = giro[j] | kBocaArriba;
  const std::size_t tras = enPilas - antes - padre[w];  // the cards of the piles after it
  std::memcpy(a + antes + desde, cartas + antes + padre[w], tras);
  std::memcpy(a + antes + desde + tras, giro.data() + desde, vuelta - desde);
  a[40] = static_cast<std::uint8_t>(redeals);
}

bool TBusqueda::Aplicar(const TMovimiento& mv, const std::uint8_t* padre) {
  enMesa_ = nullptr;
  if (padre && mv.Clics && descarteClics_ != SIZE_MAX && mv.Pila != kMazo && !comprobar_) {
    // Only the stock and the piles it deals to differ from the parent after the clicks.
    clicada_.resize(tamFoto_);
    LaidoTrasClics(padre, mv.Clics, clicada_.data());
    const TMovimiento clic{kMazo, 0, 0, 0, false};
    Escribir(clicada_.data(), &clic);
    enMesa_ = nullptr;
    return AplicarPaso(m_, TPaso{TPaso::TTipo::Arrastre, mv.Pila + 1, mv.Posicion, mv.Destino + 1});
  }
  for (int i = 0; i < mv.Clics; ++i)
    if (!AplicarPaso(m_, TPaso{TPaso::TTipo::Mazo})) return false;
  if (mv.Pila == kMazo) return AplicarPaso(m_, TPaso{TPaso::TTipo::Mazo});
  return AplicarPaso(m_, TPaso{TPaso::TTipo::Arrastre, mv.Pila + 1, mv.Posicion, mv.Destino + 1});
}

// The steps of a move: its clicks, then the drag or the click.
void AgregarPasos(std::vector<TPaso>& pasos, const TMovimiento& mv) {
  for (int i = 0; i < mv.Clics; ++i) pasos.push_back(TPaso{TPaso::TTipo::Mazo});
  if (mv.Pila == kMazo)
    pasos.push_back(TPaso{TPaso::TTipo::Mazo});
  else
    pasos.push_back(TPaso{TPaso::TTipo::Arrastre, mv.Pila + 1, mv.Posicion, mv.Destino + 1});
}

// Cards home count most, then face-down cards (less is better), cards still in a stock
// that is never redealt (its clicks cannot be taken back: those cards are work ahead),
// empty piles and cards lying in order as their pile's rules lay them, or as the table's
// own stacking function lays a card on one of its rank (Parejas.h).
//
// Where ties are broken (desempate_), every weight above counts kEscalaDesempate times and
// each pile off home whose cards all lie in order, bottom up, adds one: fewer than one
// unit of any weight over all the piles, so it only orders positions of one value. On
// such a table the value stays level for long stretches (cards moved from pile to pile)
// and best-first took the equals newest first, in the order the moves came in: a level
// child made early (Casi 14 492's tenth move, a card lifted off the only card under it)
// waited until everything above it was searched. With no empty pile to take them, the
// cards out of order on a pile must each find a card to lie on before the cards under
// them move; a pile in order has none.
std::int32_t TBusqueda::ValorPila(const TEstructura& e, std::size_t i,
                                  const std::uint8_t* cartas, std::size_t cuenta) const {
  const std::int32_t escala = EscalaValor();
  if (e.EsCasa[i] && (sumiderosEnCasa_ || !e.Sumidero[i]))
    return escala * pesoCasa_ * static_cast<std::int32_t>(cuenta);
  std::int32_t v = 0;
  if (cuenta == 0) v += pesoCelda_ && e.Grupos[i]->Capacidad == 1 ? *pesoCelda_ : pesoVacia_;
  const auto& apila = enOrden_[static_cast<std::uint8_t>(e.Firma[i])];
  // Each face-down card counts -50, each face-up card on a face-up card it follows in order
  // pesoOrden_; the pile is in order where every card is of the latter but the first, face
  // up. Summed without a branch per card: whether a card is face up or in order is the
  // deal's, which the processor cannot foresee.
  bool enOrden = cuenta > 0 && (cartas[0] & kBocaArriba);
  std::int32_t tumbadas = cuenta > 0 && !(cartas[0] & kBocaArriba) ? 1 : 0;
  std::int32_t ordenadas = 0;
  for (std::size_t j = 1; j < cuenta; ++j) {
    const std::uint8_t a = cartas[j - 1];
    const std::uint8_t b = cartas[j];
    const std::uint32_t ligada = static_cast<std::uint32_t>((a & b & kBocaArriba) != 0) &
                                 static_cast<std::uint32_t>(apila[a & 0x3F] >> (b & 0x3F));
    tumbadas += !(b & kBocaArriba);
    ordenadas += static_cast<std::int32_t>(ligada);
    enOrden &= ligada != 0;
  }
  v += ordenadas * pesoOrden_ - 50 * tumbadas;
  if (pesoEstorbo_) v -= pesoEstorbo_ * Estorbos(ordenCasa_, cartas, cuenta);
  if (!desempate_) return v;
  return escala * v + (enOrden ? 1 : 0);
}

void TBusqueda::AnotarPadre(const std::uint8_t* padre) {
  Clave(padre, true);
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = padre + n + 1;
  const std::uint8_t* resto = cartas + 40;
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(resto[1] | (resto[2] << 8))];
  for (std::size_t i = 0; i < n; ++i) valorPila_[i] = ValorPila(e, i, cartas + inicioPila_[i], padre[i]);
  padreAnotado_ = true;
}

TClave TBusqueda::ClaveYValorLeidos(const std::uint8_t* padre, const std::uint8_t* hija,
                                    std::int32_t& valor) {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartasPadre = padre + n + 1;
  const std::uint8_t* cartas = hija + n + 1;
  const std::uint8_t* resto = cartas + 40;
  const std::uint8_t* restoPadre = cartasPadre + 40;
  // A callback that changed the structure may have changed any pile's class or value.
  const bool misma = resto[1] == restoPadre[1] && resto[2] == restoPadre[2];
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(resto[1] | (resto[2] << 8))];
  TClave clave{};
  std::int32_t v = 0;
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t cuenta = hija[i];
    if (misma && cuenta == padre[i] &&
        std::memcmp(cartas + k, cartasPadre + inicioPila_[i], cuenta) == 0) {
      clave.A += clavePila_[i].A;
      clave.B += clavePila_[i].B;
      v += valorPila_[i];
    } else {
      const TClave h = ClaveDeCartas(cartas + k, cuenta, e.Clase[i]);
      clave.A += h.A;
      clave.B += h.B;
      v += ValorPila(e, i, cartas + k, cuenta);
    }
    k += cuenta;
  }
  const std::size_t enMazo = hija[n];
  if (enMazo == padre[n] && std::memcmp(cartas + k, cartasPadre + inicioPila_[n], enMazo) == 0) {
    clave.A += clavePila_[n].A;
    clave.B += clavePila_[n].B;
  } else {
    const TClave h = ClaveDeCartas(cartas + k, enMazo, 0xFFFF);
    clave.A += h.A;
    clave.B += h.B;
  }
  const TClave r = ClaveDelResto(resto);
  clave.A += r.A;
  clave.B += r.B;
  valor = v + ValorDelMazo(resto, enMazo);
  // The check mode works both out whole and compares.
  if (comprobar_) {
    const TClave entera = Clave(hija);
    if (!(entera == clave) || Valor(hija) != v) ++r_.Desajustes;
    return entera;
  }
  return clave;
}

std::int32_t TBusqueda::Valor(const std::uint8_t* foto) const {
  const std::size_t n = pilas_.size();
  const std::uint8_t* cartas = foto + n + 1;
  const std::uint8_t* resto = cartas + 40;
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(resto[1] | (resto[2] << 8))];
  std::int32_t v = 0;
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    v += ValorPila(e, i, cartas + k, foto[i]);
    k += foto[i];
  }
  return v + ValorDelMazo(resto, foto[n]);
}

std::int32_t TBusqueda::ValorTras(const std::uint8_t* padre, std::int32_t valorPadre,
                                  const TMovimiento& mv, const std::uint8_t* hija) {
  const std::size_t n = pilas_.size();
  const std::uint8_t* resto = padre + n + 41;
  const TEstructura& e = estructuras_[static_cast<std::uint16_t>(resto[1] | (resto[2] << 8))];
  const std::size_t menor = std::min<std::size_t>(mv.Pila, mv.Destino);
  const std::size_t mayor = std::max<std::size_t>(mv.Pila, mv.Destino);
  const std::uint8_t* de = padre + n + 1;
  const std::uint8_t* a = hija + n + 1;
  // The first of the two starts where it did; the second moved by what the first gained
  // or lost. The stock and the structure are the parent's.
  const std::size_t desdeMenor = inicioPila_[menor];
  const std::size_t desdeMayor = inicioPila_[mayor];
  const std::size_t haciaMayor = desdeMayor + hija[menor] - padre[menor];
  // The parent's shares are the same for all its children: most piles take or give
  // cards in several of its moves.
  const auto dePadre = [&](std::size_t i, std::size_t desde) {
    if (selloValorPila_[i] != selloPadre_) {
      selloValorPila_[i] = selloPadre_;
      valorPilaPadre_[i] = ValorPila(e, i, de + desde, padre[i]);
    }
    return valorPilaPadre_[i];
  };
  return valorPadre - dePadre(menor, desdeMenor) - dePadre(mayor, desdeMayor) +
         ValorPila(e, menor, a + desdeMenor, hija[menor]) +
         ValorPila(e, mayor, a + haciaMayor, hija[mayor]);
}

bool TBusqueda::Limites() {
  if (limitePosiciones_ && r_.Posiciones >= limitePosiciones_) return false;
  if ((r_.Posiciones & 1023) == 0) {
    AnotarPico();
    if (parar_.stop_requested() || MsDelHilo() - inicio_ >= limiteMs_) return false;
  }
  return true;
}

std::uint8_t* TBusqueda::NuevaFoto() {
  const auto n = static_cast<std::uint32_t>(nodos_.size());
  if (n / kPorBloque >= bloques_.size())
    bloques_.push_back(trozos_.Nuevo());
  return Foto(n);
}

// The line to the win: to the queued node, down the depth-first path, the last move.
void TBusqueda::Ganar(const TMovimiento& ultimo, std::uint32_t nodo) {
  std::vector<TMovimiento> linea;
  for (std::uint32_t k = nodo; k != 0; k = nodos_[k].Padre) linea.push_back(nodos_[k].Mov);
  std::reverse(linea.begin(), linea.end());
  if (enProfundidad_)
    for (const TNivel& nivel : niveles_) linea.push_back(pendientes_[nivel.Siguiente - 1]);
  linea.push_back(ultimo);
  for (const TMovimiento& mv : linea) AgregarPasos(r_.Pasos, mv);
}

TBusqueda::TExpansion TBusqueda::Expandir(const std::uint8_t* padre, const TMovimiento* entrada,
                                          const std::uint32_t* nodo, const TClave* conocida,
                                          const std::int32_t* valorPadre,
                                          bool padreSinEncalladas) {
  movs_.clear();
  if (++selloPadre_ == 0) {  // after four thousand million positions, old stamps would match
    selloValorPila_.fill(0);
    selloPadre_ = 1;
  }
  // A position with a card stuck for good (Bloqueos.h; where foundations give cards back,
  // Trabadas.h), or whose home pile's next rank can never come free (Rachas.h), or without
  // room for the cards that must leave their piles (Aparcadas.h), has no child worth playing.
  // Every position expanded but the first was read for room for the home pile's ranks as
  // it was made (below), and only one with room is queued or listed.
  const std::size_t np = pilas_.size();
  const bool rachasLeidas = entrada != nullptr;
  if (proximasAltas_ && r_.Posiciones >= proximasAltas_ && !perdida_) SeguirAltas();
  if (proximoConMazo_ && r_.Posiciones >= proximoConMazo_ && !perdida_) SeguirConMazo();
  // The stuck-card and room readings take one view of the piles, made when first asked.
  TVistas vistas;
  std::size_t cuantas = 0;
  std::uint64_t enCasa = 0;
  int vistasLeidas = -1;  // not yet; 0 where the piles do not fit
  auto leerVistas = [&] {
    if (vistasLeidas < 0) vistasLeidas = VistasDe(padre, vistas, cuantas, enCasa) ? 1 : 0;
    return vistasLeidas > 0;
  };
  bool sinEncalladas = false;  // read, or known, to hold no card stuck
  // A skipped reading counts in its schedule as one made that found none: the same
  // positions are read as when every one was made.
  auto encallada = [&] {
    if (!leerVistas()) return false;
    const bool sabida =
        padreSinEncalladas && SinEncalladaTrasSubir(padre, entrada, vistas, cuantas, enCasa);
    if (sabida && !comprobar_) {
      sinEncalladas = true;
      return false;
    }
    const bool hay = Encalladas(encalladas_, vistas.data(), cuantas, enCasa) != 0;
    if (sabida && hay) ++r_.Desajustes;  // the check mode reads the ones skipped
    sinEncalladas = !hay;
    return hay;
  };
  if (!perdida_ && !(bloqueos_.Posible && Bloqueada(padre, entrada)) &&
      !(altasPorPosicion_ && altasRinde_.Toca() &&
        altasRinde_.Anotar(leerVistas() && AltasSinSalidaEn(vistas, cuantas, enCasa))) &&
      !(encalladasPosible_ && encalladaRinde_.Toca() && encalladaRinde_.Anotar(encallada())) &&
      !(trabadas_.Posible && trabadaRinde_.Toca() &&
        trabadaRinde_.Anotar(Trabada(padre))) &&
      !(sitioPosible_ && sitioRinde_.Toca() && leerVistas() &&
        FaltaSitioEn(vistas, cuantas, enCasa)) &&
      !(rachas_.Posible && !rachasLeidas && SinSitioNiSalida(padre, true)) &&
      !Generar(padre, entrada)) {
    if (giratorio_)
      Girar(padre, entrada);
    else if (descarteClics_ != SIZE_MAX)
      Clicar(padre, entrada);
  }
  const bool porPartes = !conLlamadas_;
  TClave clavePadre{};
  if (porPartes && conocida) {
    clavePadre = *conocida;
    const std::size_t n = pilas_.size();
    for (std::size_t i = 0, k = 0; i <= n; k += padre[i], ++i)
      inicioPila_[i] = static_cast<std::uint8_t>(k);
    if (comprobar_) {
      // Every pile hashed again must give the keys carried down.
      const std::array<TClave, 257> llevadas = clavePila_;
      const TClave clave = Clave(padre, true);
      if (!(clave == clavePadre) ||
          !std::equal(llevadas.begin(), llevadas.begin() + n + 1, clavePila_.begin())) {
        ++r_.Desajustes;
        return TExpansion::Parar;
      }
    }
  } else if (porPartes) {
    clavePadre = Clave(padre, true);
  }
  padreAnotado_ = false;
  if (!porPartes && !giratorio_ && !movs_.empty()) AnotarPadre(padre);
  // The children's keys first, each slot asked of memory at once: the waits overlap, with
  // each other and with what is done before the first slot is read.
  previstas_.resize(movs_.size());
  if (prever_ && porPartes) {
    for (std::size_t k = 0; k < movs_.size(); ++k) {
      if (!Previsible(movs_[k])) continue;
      previstas_[k] = Prever(padre, clavePadre, movs_[k]);
      vistas_.Anticipar(previstas_[k]);
    }
  }
  if (!nodo && porPartes) {
    // Noted for the children played again from this position (Hundir).
    TClave* claves = ClavesNivel(niveles_.size());
    std::copy(clavePila_.begin(), clavePila_.begin() + static_cast<std::ptrdiff_t>(np + 1), claves);
    claves[np + 1] = clavePadre;
  }
  orden_.clear();
  const TMovimiento* anterior = nullptr;  // the move the table holds the result of
  const std::uint8_t* leida = nullptr;     // that move's child's snapshot, once read
  for (std::size_t k = 0; k < movs_.size(); ++k) {
    const TMovimiento& mv = movs_[k];
    const bool previsto = prever_ && porPartes && Previsible(mv);
    const TClave prevista = previstas_[k];
    // Seen before: not a win, or the search would have ended there.
    if (previsto && !comprobar_ && vistas_.Contiene(prevista)) continue;
    if (anterior) Escribir(padre, anterior);
    anterior = &mv;
    leida = nullptr;
    // A drag foreseen is not played through the table's steps: its child is written from
    // the parent's snapshot and put on the table as such (the check mode plays every one,
    // and compares).
    const bool sinJugar = previsto && PorPartes(mv) && !comprobar_;
    if (sinJugar) {
      // Written where a child's snapshot goes in depth-first, copied to its own place in
      // best-first (which uses that one for nothing else).
      HijaPrevista(padre, mv, hija_.data());
      // A win is a win before anything is compared, as when played.
      if (!JugarPrevista(padre, mv, hija_.data(), true) && !m_.VentanaPropia.Ganado) {
        ++r_.Desajustes;
        return TExpansion::Parar;
      }
    } else if (!Aplicar(mv, padre)) {
      if (conLlamadas_) actual_ = EstructuraActual();
      continue;
    }
    if (m_.VentanaPropia.Ganado) {
      Ganar(mv, nodo ? *nodo : raiz_);
      return TExpansion::Ganada;
    }
    // What the rest holds is worked out once per child: only a new block of snapshots
    // changes it before the child's key goes in.
    std::size_t resto = BytesDelResto();
    if (nodos_.size() >= UINT32_MAX || pendientes_.size() + orden_.size() >= UINT32_MAX ||
        !CabeOtra(resto))
      return TExpansion::Parar;
    const std::size_t bloques = bloques_.size();
    std::uint8_t* hija = nodo ? NuevaFoto() : hija_.data();
    if (bloques_.size() != bloques) resto = BytesDelResto();
    TClave clave;
    std::int32_t valorLeido = 0;
    if (sinJugar) {
      if (hija != hija_.data()) std::memcpy(hija, hija_.data(), tamFoto_);
      clave = prevista;
    } else if (PorPartes(mv)) {
      clave = LeerTras(padre, clavePadre, mv, hija);
      if (previsto && comprobar_) {
        // The check mode plays every drag: the child written from the parent must be the
        // one the table's steps left.
        std::array<std::uint8_t, 256 + 1 + 40 + 3> escrita;
        HijaPrevista(padre, mv, escrita.data());
        if (std::memcmp(escrita.data(), hija, tamFoto_) != 0) {
          ++r_.Desajustes;
          return TExpansion::Parar;
        }
      }
    } else {
      Leer(hija);
      clave = padreAnotado_ ? ClaveYValorLeidos(padre, hija, valorLeido) : Clave(hija);
    }
    if (previsto && !(clave == prevista)) {
      ++r_.Desajustes;
      return TExpansion::Parar;
    }
    leida = hija;
    vistas_.Anticipar(clave);
    std::int32_t valor;
    if (padreAnotado_ && !sinJugar && !PorPartes(mv)) {
      valor = valorLeido;
    } else if (valorPadre && PorPartes(mv)) {
      valor = ValorTras(padre, *valorPadre, mv, hija);
      // The check mode values every child whole and compares.
      if (comprobar_ && valor != Valor(hija)) {
        ++r_.Desajustes;
        return TExpansion::Parar;
      }
    } else {
      valor = Valor(hija);
    }
    const std::size_t antes = vistas_.Bytes();
    const auto insercion =
        vistas_.Insertar(clave, limiteBytes_ > resto ? limiteBytes_ - resto : 0);
    if (vistas_.Bytes() != antes) AnotarPico();
    if (insercion == TTransposiciones::TInsercion::Llena) return TExpansion::Parar;
    if (insercion == TTransposiciones::TInsercion::Vista) continue;
    // A new child whose home pile's next rank can never come free (Rachas.h) is read as it
    // is made, and counted, but neither queued nor listed: expanded, it would give nothing.
    // A drag between piles that build, no stock click before it, leaves the reading its
    // parent had, which had room.
    if (rachas_.Posible &&
        !(mv.Pila != kMazo && mv.Clics == 0 && RachasIgualesTras(rachas_, mv.Pila, mv.Destino)) &&
        SinSitioNiSalida(hija, false)) {
      ++r_.Posiciones;
      if (!Limites()) return TExpansion::Parar;
      continue;
    }
    if (nodo) {
      const auto n = static_cast<std::uint32_t>(nodos_.size());
      nodos_.push_back(TNodo{*nodo, mv, sinEncalladas});
      cola_.Poner(valor, n);
    } else {
      orden_.emplace_back(valor, static_cast<std::uint32_t>(k));
    }
    ++r_.Posiciones;
    if (!Limites()) return TExpansion::Parar;
  }
  // The table holds the last child played, whose snapshot was read: the next Escribir puts
  // back only the piles that differ from it. That snapshot stays until then (a queued
  // node's, or the one the next NuevaFoto or child would take, neither taken before).
  if (leida && !comprobar_) enMesa_ = leida;
  if (nodo) return TExpansion::Seguir;
  // The best child first; among equals, the order the moves came in.
  std::stable_sort(orden_.begin(), orden_.end(),
                   [](const auto& x, const auto& y) { return x.first > y.first; });
  const auto inicio = static_cast<std::uint32_t>(pendientes_.size());
  for (const auto& [valor, k] : orden_) {
    pendientes_.push_back(movs_[k]);
    valoresPendientes_.push_back(PorPartes(movs_[k]) ? valor : kSinValor);
  }
  niveles_.push_back(
      TNivel{inicio, inicio, static_cast<std::uint32_t>(pendientes_.size()), sinEncalladas});
  return TExpansion::Seguir;
}

// Depth-first from the queued node, whose position the table holds, until everything
// below it was searched: the next child of the deepest position with children left,
// played again from that position's snapshot; a position whose children are all
// searched is left for good.
TBusqueda::TExpansion TBusqueda::Hundir(std::uint32_t nodo) {
  raiz_ = nodo;
  std::uint8_t* raiz = FotoNivel(0);
  if (!raiz) return TExpansion::Parar;
  std::memcpy(raiz, Foto(nodo), tamFoto_);
  const TMovimiento entrada = nodos_[nodo].Mov;
  TExpansion x = Expandir(raiz, nodo ? &entrada : nullptr, nullptr, nullptr, nullptr,
                          nodo && nodos_[nodo].PadreSinEncalladas);
  while (x == TExpansion::Seguir && !niveles_.empty()) {
    TNivel& nivel = niveles_.back();
    if (nivel.Siguiente == nivel.Fin) {
      pendientes_.resize(nivel.Inicio);
      valoresPendientes_.resize(nivel.Inicio);
      niveles_.pop_back();
      continue;
    }
    const std::int32_t valor = valoresPendientes_[nivel.Siguiente];
    const TMovimiento mv = pendientes_[nivel.Siguiente++];
    const bool padreSinEncalladas = nivel.SinEncalladas;
    const std::size_t d = niveles_.size();
    const std::uint8_t* padre = FotoNivel(d - 1);
    std::uint8_t* hija = FotoNivel(d);
    if (!hija) return TExpansion::Parar;
    Escribir(padre);
    if (PorPartes(mv) && prever_ && !comprobar_) {
      // A drag foreseen, as Expandir made its child the first time: written from the parent,
      // put on the table, and its key from the parent's piles' keys and its two piles'.
      const std::size_t n = pilas_.size();
      for (std::size_t i = 0, k = 0; i <= n; k += padre[i], ++i)
        inicioPila_[i] = static_cast<std::uint8_t>(k);
      HijaPrevista(padre, mv, hija);
      JugarPrevista(padre, mv, hija, false);
      const TClave* claves = ClavesNivel(d - 1);
      std::copy(claves, claves + n + 1, clavePila_.begin());
      const TEstructura& e = estructuras_[actual_];
      const std::size_t menor = std::min<std::size_t>(mv.Pila, mv.Destino);
      const std::size_t mayor = std::max<std::size_t>(mv.Pila, mv.Destino);
      TClave clave = claves[n + 1];
      for (const std::size_t i : {menor, mayor}) {
        const std::size_t inicio = i == menor ? inicioPila_[i] : inicioPila_[i] + hija[menor] - padre[menor];
        const TClave despues = ClaveDeCartas(hija + n + 1 + inicio, hija[i], e.Clase[i]);
        clave.A += despues.A - claves[i].A;
        clave.B += despues.B - claves[i].B;
        clavePila_[i] = despues;
      }
      x = Expandir(hija, &mv, nullptr, &clave, valor == kSinValor ? nullptr : &valor,
                   padreSinEncalladas);
      continue;
    }
    // The same move on the same position did the same before; if the table thinks
    // otherwise now, nothing the search says from here could be trusted.
    if (!Aplicar(mv, padre)) return TExpansion::Parar;
    // The parent's keys were noted when it was expanded: the child's follow from them and
    // the two piles the drag changed.
    if (PorPartes(mv)) {
      const TClave* claves = ClavesNivel(d - 1);
      const std::size_t n = pilas_.size();
      std::copy(claves, claves + n + 1, clavePila_.begin());
      const TClave clave = LeerTras(padre, claves[n + 1], mv, hija);
      clavePila_[std::min(mv.Pila, mv.Destino)] = trasLeer_[0];
      clavePila_[std::max(mv.Pila, mv.Destino)] = trasLeer_[1];
      x = Expandir(hija, &mv, nullptr, &clave, valor == kSinValor ? nullptr : &valor,
                   padreSinEncalladas);
    } else {
      Leer(hija);
      x = Expandir(hija, &mv, nullptr, nullptr, nullptr, padreSinEncalladas);
    }
  }
  return x;
}

TResultado TBusqueda::Buscar(std::uint64_t pausaPosiciones) {
  if (iniciada_) inicio_ = MsDelHilo();
  pausada_ = false;
  auto terminar = [&](TVeredicto v) {
    r_.Veredicto = v;
    r_.Milisegundos = msAntes_ + MsDelHilo() - inicio_;
    AnotarPico();
    if (v != TVeredicto::Ganable) r_.Pasos.clear();
    return r_;
  };
  TExpansion x = TExpansion::Seguir;
  if (!iniciada_) {
    iniciada_ = true;
    if (!Preparar()) return terminar(TVeredicto::NoSeSabe);
    hija_.resize(tamFoto_);
    Leer(NuevaFoto());
    nodos_.push_back(TNodo{0, TMovimiento{}});
    vistas_.Insertar(Clave(Foto(0)), limiteBytes_);
    r_.Posiciones = 1;
    std::uint32_t cero = 0;
    x = Expandir(Foto(0), nullptr, &cero);
  }
  // Once the high cards' game proves the position searched lost, what is queued needs no look.
  while (x == TExpansion::Seguir && !cola_.Vacia() && !perdida_) {
    if (pausaPosiciones && r_.Posiciones >= pausaPosiciones) {
      pausada_ = true;
      const TResultado r = terminar(TVeredicto::NoSeSabe);
      msAntes_ = r.Milisegundos;
      return r;
    }
    // Best-first keeps a snapshot per queued position; depth-first only the path's. Half
    // the memory lets best-first find the wins it finds within a few seconds, and leaves
    // the keys of some millions of positions to depth-first; best-first stops sooner where
    // its snapshots would keep the table of keys from its last doubling.
    if (!enProfundidad_ && (BytesEnUso() > limiteBytes_ / 2 || BytesDelResto() > restoPlaneado_ ||
                            (profundizarTras_ && r_.Posiciones >= profundizarTras_)))
      enProfundidad_ = true;
    const TCola::TEntrada mejor = cola_.Sacar();
    std::uint32_t nodo = mejor.second;
    const std::int32_t valor = mejor.first;
    Escribir(Foto(nodo));
    if (enProfundidad_) {
      x = Hundir(nodo);
    } else {
      const TMovimiento entrada = nodos_[nodo].Mov;
      // The check mode values the position whole: the value queued must be its own.
      if (comprobar_ && valor != Valor(Foto(nodo))) {
        ++r_.Desajustes;
        x = TExpansion::Parar;
        break;
      }
      x = Expandir(Foto(nodo), &entrada, &nodo, nullptr, &valor,
                   nodos_[nodo].PadreSinEncalladas);
    }
  }
  if (x == TExpansion::Ganada) return terminar(TVeredicto::Ganable);
  if (perdida_) return terminar(TVeredicto::SinSolucion);
  if (x == TExpansion::Parar || vueltaOmitida_) return terminar(TVeredicto::NoSeSabe);
  return terminar(TVeredicto::SinSolucion);
}

// Sets the deal up and plays the steps as `cartoval-mesa jugar` does; true when the game
// was won on the way.
bool Jugar(TMesa& m, TPrepararJuego preparar, std::int32_t numero,
           const std::vector<TPaso>& pasos) {
  preparar(m, numero);
  if (m.FinJuegoArmado) m.VerificarFinAhora();
  for (const TPaso& p : pasos) AplicarPaso(m, p);
  return m.VentanaPropia.Ganado;
}

// One search on a table of its own, which holds the position the steps reached; when the
// table's drops do more than the search foresaw, nothing it skipped can be trusted, and it
// starts again playing every child.
class TIntento {
 public:
  TIntento(TPrepararJuego preparar, std::int32_t numero, const std::vector<TPaso>& pasos,
           const TLimites& limites, std::stop_token parar, bool enProfundidad,
           std::size_t ajenos = 0, std::unique_ptr<TMesa> mesa = nullptr)
      : preparar_(preparar), numero_(numero), pasos_(pasos), limites_(limites),
        parar_(std::move(parar)), enProfundidad_(enProfundidad), ajenos_(ajenos) {
    Empezar(true, std::move(mesa));
  }

  TResultado Buscar(std::uint64_t pausaPosiciones = 0) {
    TResultado r = busqueda_->Buscar(pausaPosiciones);
    if (r.Desajustes > 0 && prever_) {
      const std::uint64_t desajustes = r.Desajustes;
      Empezar(false);
      r = busqueda_->Buscar(pausaPosiciones);
      desajustes_ = desajustes;
    }
    r.Desajustes = std::max(r.Desajustes, desajustes_);
    return r;
  }
  bool Pausada() const { return busqueda_->Pausada(); }
  bool SinAcabar() const { return busqueda_->SinAcabar(); }
  void SinVueltas() {
    busqueda_->SinVueltas();
    sinVueltas_ = true;
  }
  void ClicsJuntos() {
    busqueda_->ClicsJuntos();
    clicsJuntos_ = true;
  }
  void DesenterrarHijas() {
    busqueda_->DesenterrarHijas();
    desenterrarHijas_ = true;
  }
  void PesarVacias(std::int32_t peso) {
    busqueda_->PesarVacias(peso);
    pesoVacia_ = peso;
  }
  void ProfundizarTras(std::uint64_t posiciones) {
    busqueda_->ProfundizarTras(posiciones);
    profundizarTras_ = posiciones;
  }
  void SumiderosEnCasa(bool si) {
    busqueda_->SumiderosEnCasa(si);
    sumiderosEnCasa_ = si;
  }
  void PesarOrden(std::int32_t peso) {
    busqueda_->PesarOrden(peso);
    pesoOrden_ = peso;
  }
  void PesarCasa(std::int32_t peso) {
    busqueda_->PesarCasa(peso);
    pesoCasa_ = peso;
  }
  void PesarCeldas(std::int32_t peso) {
    busqueda_->PesarCeldas(peso);
    pesoCelda_ = peso;
  }
  void PesarEstorbos(std::int32_t peso) {
    busqueda_->PesarEstorbos(peso);
    pesoEstorbo_ = peso;
  }
  // A search that starts again afresh has these limits too.
  void Limitar(std::int64_t ms, std::uint64_t posiciones) {
    busqueda_->Limitar(ms, posiciones);
    limites_.Milisegundos = ms;
    limites_.Posiciones = posiciones;
  }
  std::size_t Bytes() const { return busqueda_->Bytes(); }
  void CompartirConMazo(std::shared_ptr<TConMazoComun> c) {
    busqueda_->CompartirConMazo(c);
    conMazo_ = std::move(c);
  }

 private:
  TPrepararJuego preparar_;
  std::int32_t numero_;
  const std::vector<TPaso>& pasos_;
  TLimites limites_;
  std::stop_token parar_;
  bool enProfundidad_;
  std::size_t ajenos_;
  bool prever_ = true;
  std::optional<std::int32_t> pesoVacia_;  // none set: a weight may be below zero
  std::uint64_t profundizarTras_ = 0;
  bool sumiderosEnCasa_ = true;
  std::int32_t pesoOrden_ = 5;
  std::int32_t pesoCasa_ = 1000;
  std::optional<std::int32_t> pesoCelda_;
  std::int32_t pesoEstorbo_ = 0;
  bool sinVueltas_ = false;
  bool clicsJuntos_ = false;
  bool desenterrarHijas_ = false;
  std::uint64_t desajustes_ = 0;
  std::shared_ptr<TConMazoComun> conMazo_;
  std::unique_ptr<TMesa> mesa_;
  std::unique_ptr<TBusqueda> busqueda_;

  // `mesa`: the same position already played on a table no one else holds, or none.
  void Empezar(bool prever, std::unique_ptr<TMesa> mesa = nullptr) {
    busqueda_.reset();
    const bool jugada = mesa != nullptr;
    mesa_ = jugada ? std::move(mesa) : std::make_unique<TMesa>();
    if (!jugada) Jugar(*mesa_, preparar_, numero_, pasos_);
    mesa_->SinRegistro = true;
    prever_ = prever;
    busqueda_ =
        std::make_unique<TBusqueda>(*mesa_, limites_, parar_, prever, enProfundidad_, ajenos_);
    if (pesoVacia_) busqueda_->PesarVacias(*pesoVacia_);
    busqueda_->ProfundizarTras(profundizarTras_);
    busqueda_->SumiderosEnCasa(sumiderosEnCasa_);
    busqueda_->PesarOrden(pesoOrden_);
    busqueda_->PesarCasa(pesoCasa_);
    if (pesoCelda_) busqueda_->PesarCeldas(*pesoCelda_);
    busqueda_->PesarEstorbos(pesoEstorbo_);
    if (sinVueltas_) busqueda_->SinVueltas();
    if (clicsJuntos_) busqueda_->ClicsJuntos();
    if (desenterrarHijas_) busqueda_->DesenterrarHijas();
    if (conMazo_) busqueda_->CompartirConMazo(conMazo_);
  }
};

// What the tries ask of the empty piles, from one reading of them (LeerVacias; none where
// the engine's default function does not decide them).
std::vector<std::uint64_t> VaciasDe(TMesa& m) {
  if (m.PuedeOcuparVacia != OcuparPorReglas) return {};
  return LeerVacias(m);
}

// Whether some pile off the foundations, once empty, takes any card by its group's rules.
bool VaciasTomanCualquiera(const TMesa& m, const std::vector<std::uint64_t>& vacia) {
  if (m.PuedeOcuparVacia != OcuparPorReglas) return false;
  constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
  for (std::size_t g = 0; g < m.Grupos.size(); ++g)
    if (!m.Grupos[g]->EsFundacion && (vacia[g] & kCuarenta) == kCuarenta) return true;
  return false;
}

// Whether the piles off the foundations, once empty, take some cards by their groups'
// rules and none of them takes every card (a Rey alone, say).
bool VaciasTomanAlgunas(const TMesa& m, const std::vector<std::uint64_t>& vacia) {
  if (m.PuedeOcuparVacia != OcuparPorReglas) return false;
  constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
  bool alguna = false;
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    if (m.Grupos[g]->EsFundacion) continue;
    const std::uint64_t toma = vacia[g] & kCuarenta;
    if (toma == kCuarenta) return false;
    alguna = alguna || toma != 0;
  }
  return alguna;
}

}  // namespace

const char* TextoVeredicto(TVeredicto v) {
  switch (v) {
    case TVeredicto::Ganable: return "ganable";
    case TVeredicto::SinSolucion: return "sin solución";
    case TVeredicto::NoSeSabe: return "no se sabe";
  }
  return "no se sabe";
}

TResultado Resolver(TPrepararJuego preparar, std::int32_t numero,
                    const std::vector<TPaso>& pasos, const TLimites& limites,
                    std::stop_token parar) {
  const std::int64_t inicio = MsDelHilo();
  auto mesa = std::make_unique<TMesa>();
  TMesa& m = *mesa;
  if (Jugar(m, preparar, numero, pasos)) {
    TResultado r;
    r.Veredicto = TVeredicto::Ganable;
    r.Milisegundos = MsDelHilo() - inicio;
    r.Numero = m.NumeroJuego;
    return r;
  }
  // What the tries below ask of the table, read before the first try takes the table for
  // its own (a deal's set-up, once instead of twice): from there on `m` is not read.
  const std::int32_t numeroJuego = m.NumeroJuego;
  const std::vector<std::uint64_t> vaciasLeidas = VaciasDe(m);
  const bool juntar = DescarteDeClicsJuntos(m) != SIZE_MAX;
  // Where the one home pile takes the deck by rank and the other piles take nothing or
  // build down (Rachas.h), the clicks are joined as soon as the look has ended (below).
  const bool juntarTrasVistazo = juntar && PrepararRachas(m, LeerReglas(m)).Posible;
  const bool vacias = VaciasTomanCartas(m, vaciasLeidas);
  const bool algunas = VaciasTomanAlgunas(m, vaciasLeidas);
  const bool cualquiera = VaciasTomanCualquiera(m, vaciasLeidas);
  const bool giro = MazoQueGira(m);
  const bool celdas = TieneCeldas(m);
  const bool llamadas = TieneLlamadas(m);
  // Three tries with what the ones before left of the limits: a short best-first search,
  // which decides most deals; a look depth-first from the start, which wins many deals that
  // best-first only wins after millions of positions; then best-first to the end, afresh
  // or the first search from where it paused (below). The short search pauses and the look
  // stops at their shares of positions, never of time: where a try ends must not hang on
  // how fast the machine runs, or the same position and limits could give another line.
  // Time only ends the whole search.
  const auto partePosiciones = [&limites](std::uint64_t usadas, int de, std::uint64_t tope) {
    if (!limites.Posiciones) return tope;
    const std::uint64_t p = std::min(limites.Posiciones - std::min(usadas, limites.Posiciones),
                                     std::max<std::uint64_t>(limites.Posiciones / de, 1));
    return tope ? std::min(p, tope) : p;
  };
  auto agotado = [&](const TResultado& x) {
    return x.Veredicto != TVeredicto::NoSeSabe || parar.stop_requested() ||
           x.Milisegundos >= limites.Milisegundos ||
           (limites.Posiciones && x.Posiciones >= limites.Posiciones);
  };
  auto corta = std::make_unique<TIntento>(preparar, numero, pasos, limites, parar, false, 0,
                                         std::move(mesa));
  // Every try searches the same position: the high cards' games with the stock go on
  // from one try to the next.
  const auto conMazo = std::make_shared<TConMazoComun>();
  corta->CompartirConMazo(conMazo);
  // Where the stock's clicks may be joined (Clics.h, and the last try below).
  const bool juntarYa = juntar && limites.ClicsSueltosHasta == 0;
  if (juntarYa) corta->ClicsJuntos();
  // Where they are joined later, the tries before that stop at the positions allowed.
  const auto sueltas = [&](std::uint64_t p, std::uint64_t gastadas) {
    if (!juntar || juntarYa) return p;
    const std::uint64_t hasta =
        std::max<std::uint64_t>(limites.ClicsSueltosHasta - std::min(limites.ClicsSueltosHasta, gastadas), 1);
    return p ? std::min(p, hasta) : hasta;
  };
  // A pile no card leaves counts as home in the look and the last try, not here: on
  // Solitario De Las Cinco Casillas each value wins deals the other loses to the limit.
  corta->SumiderosEnCasa(false);
  // Where the short search is not taken up again (below), it and the look after it take
  // no card back from home: such moves seldom win, and each card taken back and sent home
  // again leads to positions as good as those before, which the search spreads over (Strup
  // 893 and 538, won after 1.8 and 2.5 million positions with them, are won within 22,000
  // and 110,000 without). Run dry so, a try proves nothing; the last one takes them back.
  if (vacias) corta->SinVueltas();
  auto conNumero = [numeroJuego](TResultado x) {
    x.Numero = numeroJuego;
    return x;
  };
  // Where empty piles take only some cards, the short search stops at 25,000 positions: the
  // positions it spends on a deal it does not win the last try, afresh, spends again, and
  // past them it wins few deals that the look, depth-first from the start, does not win
  // soon. Of numbers 1 to 1000 of Strup, Yukon Español and Solitario De Los Siete Montones,
  // the 127 wins that took 20,000 to 110,000 positions took 3.6 million fewer in all, the
  // worst 133,000 more (Strup 862); every deal decided later by the last try, 75,000 fewer.
  // At 12,000 Strup 893, which only the short search wins soon, took 1.5 million.
  constexpr std::uint64_t kCortaConAlgunas = 25000;
  const std::uint64_t enCorta = algunas ? kCortaConAlgunas : 100000;
  const TResultado corto = corta->Buscar(sueltas(partePosiciones(0, 8, enCorta), 0));
  if (agotado(corto)) return conNumero(corto);
  // Paused, the short search keeps what it holds and the look has the rest of the memory.
  // Stopped by its memory, it could go no further from the start: the look has it all.
  const bool reanudar = corta->Pausada();
  const bool seguir = reanudar || corta->SinAcabar();
  const std::size_t retenidos = reanudar ? corta->Bytes() : 0;
  if (!reanudar) corta.reset();
  TLimites l = limites;
  l.Milisegundos = std::max<std::int64_t>(limites.Milisegundos - corto.Milisegundos, 1);
  l.Posiciones = partePosiciones(corto.Posiciones, 4, 200000);
  // Where what is left would not hold the look's first table of keys, it is not taken.
  const bool cabe = retenidos + (std::size_t{256} << 10) <= limites.MemoriaMiB * (std::size_t{1} << 20);
  // Where no empty pile takes a card, the short search goes on from where it paused after
  // the look, and most of the deals left then are lost ones whose every position is
  // searched: there the look's positions are all spent again. Its wins there come early
  // (of Solitario De Los Casi 14 Montones' numbers 1 to 1000, 18 of the 25 it won within
  // its first 30,000 positions), so it stops at those.
  constexpr std::uint64_t kVistazoSinVacias = 30000;
  if (reanudar && !vacias)
    l.Posiciones = partePosiciones(corto.Posiciones, 4, kVistazoSinVacias);
  // Where empty piles take only some cards by their rules, the look's wins come early too:
  // of the deals the look won of Strup's and Solitario De Los Siete Montones' numbers 1 to
  // 1000, all but five within its first 50,000 positions (most within 10,000). Past that
  // it mostly spends positions that the last try, afresh, spends again: a lost deal's
  // whole space, or a win that try finds within its first thousand positions (Strup 483
  // and 593, won at 305,062 and 302,288 positions with a look of 200,000).
  constexpr std::uint64_t kVistazoConAlgunas = 50000;
  if (algunas) l.Posiciones = partePosiciones(corto.Posiciones, 4, kVistazoConAlgunas);
  // Where the runs are read and the last try joins the stock's clicks from its start
  // (below), the look's wins come early as well: of Solitario De Las Cinco Casillas'
  // numbers 1 to 1000 it wins three, 632, 315 and 673, at 1,257, 2,660 and 28,162 of its
  // positions. Past 50,000 it only spends what the joined stretch spends again: a lost
  // deal's whole space, or a win that stretch finds afresh (111 at 11,148 of its own).
  if (juntarTrasVistazo && !juntarYa)
    l.Posiciones = partePosiciones(corto.Posiciones, 4, kVistazoConAlgunas);
  // Where the stock turns round without end (Solitario De Los Siete Montones), the look
  // goes to the end instead. Where no card comes back from home, the look run dry proves
  // a deal lost, and the last try afresh would only search the same space again
  // (50,000 positions saved on every lost deal); and the wins the short search and the
  // first 50,000 of the look miss are found sooner depth-first from the start than by the
  // last try's best-first stretch: of numbers 1 to 1000, all six such wins (273 at 446,769
  // positions instead of 843,528), none later.
  if (giro) l.Posiciones = partePosiciones(corto.Posiciones, 4, 0);
  // There the look counts a card home as a card in order, not as 1,000: the cards that go
  // home safely go at once whatever the value, so the home moves the value ranks are the
  // others, each taking away a place a card of the other colour may still need. Ranked
  // first, the look sends every such card home and walks the whole dead space below before
  // it keeps one out (95, whose line leaves the Seis de Oros out once the Cinco is home,
  // where the look sent the Seis and the Siete home: won at 957,710 positions, 180,300 so);
  // turning a face-down card up (50) now comes first. Of numbers 1 to 1000, the wins past
  // the short search took 3.40 → 1.85 million positions in all; two took more (951,
  // 146,717 → 255,638, and 592, 50,401 → 89,657).
  constexpr std::int32_t kCasaEnGiro = 5;
  // Where there are free cells the look stops at 50,000 positions as well: the slow wins
  // past that, which the last try's first stretch found more slowly before (Pingüino
  // Patagónico 625 and 417 at 530,021 and 257,919 with the look so), its stretch that
  // counts cards in the way finds within a few thousand positions (190,501 and 190,964),
  // and the deals that the look and all the stretches before that one missed save
  // 150,000 positions each.
  constexpr std::uint64_t kVistazoCorto = 50000;
  if (celdas) l.Posiciones = partePosiciones(corto.Posiciones, 4, kVistazoCorto);
  // Where callbacks change the table as cards come and go, the same: the deals the look
  // won past 50,000 positions the last try wins within 310,000 in all (Solitario De 10 A
  // 4 453 at 306,542 instead of 210,466), and the many it misses save 150,000 each (of
  // that game's numbers 1 to 1000, 102.7 M positions in all become 71.1 M).
  if (llamadas) l.Posiciones = partePosiciones(corto.Posiciones, 4, kVistazoCorto);
  const auto mirar = [&] {
    TIntento vistazo(preparar, numero, pasos, l, parar, true, retenidos);
    vistazo.CompartirConMazo(conMazo);
    // Where the short search stopped for want of memory nothing comes after the look.
    if (vacias && seguir) vistazo.SinVueltas();
    if (juntarYa) vistazo.ClicsJuntos();
    if (giro) vistazo.PesarCasa(kCasaEnGiro);
    return vistazo.Buscar();
  };
  l.Posiciones = sueltas(l.Posiciones, corto.Posiciones);
  const TResultado vistazo = cabe ? mirar() : TResultado{};
  TResultado r = vistazo;
  r.Posiciones += corto.Posiciones;
  r.Milisegundos += corto.Milisegundos;
  r.MemoriaPico = std::max(corto.MemoriaPico, retenidos + vistazo.MemoriaPico);
  r.Desajustes += corto.Desajustes;
  if (agotado(r) || !seguir) return conNumero(r);
  const std::int64_t msQuedan = limites.Milisegundos - r.Milisegundos;
  const std::uint64_t quedan = limites.Posiciones ? limites.Posiciones - r.Posiciones : 0;
  if (vacias) {
    // The deals the short search has not decided by then are found sooner, measured on
    // many, by a best-first search afresh in which empty piles add nothing: cards home and
    // cards in order decide, and among equals the newest position goes first. Valuing
    // the short search's open positions so instead does not find them. On tables without
    // callbacks, past its first positions, it goes depth-first from the best of those
    // queued: a long line of small steps is followed to its end instead of spreading over
    // millions of positions that all look alike. Where callbacks change the table as cards
    // come and go (Solitario De 10 A 4) best-first finds the slow wins, measured, and
    // going depth-first early lost some. Where an empty pile takes any card, an empty pile
    // counts against a position: the search fills it first, and the cards a filled pile
    // lets move are tried before another pile is emptied (Cuatro Reyes, Ordenamiento
    // Desordenado: their slow wins within 300,000 to 600,000 positions); where empty piles
    // take only some cards (Strup's Reyes), filling them first lost deals.
    constexpr std::uint64_t kProfundizarTras = 200000;
    constexpr std::int32_t kPesoVaciaLibre = -10;
    // Where an empty pile takes any card, past its first 300,000 positions the search
    // afresh starts again with a card lying in order weighing four times what it did, more
    // than an empty pile weighs against a position: the search follows the positions
    // that build runs, where the slow wins go, instead of wandering among positions that
    // only shuffle cards (Ordenamiento Desordenado 240 and 343, undecided at 10 s, and
    // Cuatro Reyes 227, Las Columnas Del Palacio 108, won after 2.7 to 15 million positions,
    // all won within a million). Valued so from the start it lost deals the plain value wins
    // soon after the look (Cuatro Reyes 431). Elsewhere starting again only cost positions:
    // Strup's value does not change with it, and proofs without a win search twice.
    constexpr std::uint64_t kAntesDeOrdenar = 300000;
    constexpr std::int32_t kPesoOrdenFin = 20;
    corta.reset();
    TLimites resto = limites;
    resto.Milisegundos = msQuedan;
    resto.Posiciones = quedan;
    // With free cells (Pingüino Patagónico, Squadron Español, Orden Real) it starts again
    // after 20,000 positions, and then an empty cell counts nothing: cells filled first
    // only park cards, and the search wandered among such positions (Pingüino Patagónico
    // 669 won after 2.9 million positions of this try, and 986, 74 and Orden Real 419
    // after 0.3 to 0.4 million; valued so, in 2,000 to 110,000). The first stretch keeps
    // the deals the plain value wins at once (Pingüino Patagónico 818 within 15,000).
    constexpr std::uint64_t kAntesDeCeldas = 20000;
    const auto afresco = [&](const TLimites& lim, std::optional<std::int32_t> pesoOrden) {
      auto nueva = std::make_unique<TIntento>(preparar, numero, pasos, lim, parar, false);
      nueva->CompartirConMazo(conMazo);
      nueva->PesarVacias(cualquiera ? kPesoVaciaLibre : 0);
      if (!llamadas) nueva->ProfundizarTras(kProfundizarTras);
      if (pesoOrden) nueva->PesarOrden(*pesoOrden);
      if (celdas && pesoOrden) nueva->PesarCeldas(0);
      if (juntarYa) nueva->ClicsJuntos();
      nueva->DesenterrarHijas();
      return nueva;
    };
    // Where the stock's clicks may be joined to the waste's next drag (Clics.h), the tries
    // click one card at a time until a million positions in all (the limits' own number),
    // and then a last stretch
    // starts afresh with the clicks joined. Single clicks find the early wins: the winning
    // line's clicks are moves the search follows at once, where joined ones add a child for
    // each card the stock may show (Ordenamiento Desordenado 830, won in 102,250 positions
    // clicking singly, filled the memory at 15 million joined). Joined, the positions
    // reached by clicks alone are never searched, and a lost deal, whose every position is
    // searched, takes 2.6 to 3 times fewer (Solitario De Las Cinco Casillas 576: 17.6 million
    // clicking singly, 6.7 million joined). The slowest win clicking singly of the numbers 1
    // to 1000 of those two games, but two, comes at 982,487 positions.
    //
    // On the tables that read runs, the single-click stretches past the look win almost
    // nothing: of Solitario De Las Cinco Casillas' numbers 1 to 1000 only 87 (23,698
    // positions into the first stretch; 22,575 into the joined one) and 111 went past the
    // look and were won, 111 only by the joined stretch, 11,148 positions into it after
    // 700,000 single-click ones. A lost deal searches its whole space again joined, so
    // those 700,000 positions were spent for nothing (778 and 702: 3.06 and 3.37 million
    // positions, of which 2.06 and 2.37 joined). There the joined stretch starts at once.
    const std::uint64_t antesDeJuntar =
        juntarTrasVistazo ? std::min(limites.ClicsSueltosHasta, r.Posiciones)
                          : limites.ClicsSueltosHasta;
    const bool juntarTras = juntar && !juntarYa;
    // No single-click stretch at all: the joined one follows the look.
    const bool soloJuntos = juntarTras && antesDeJuntar <= r.Posiciones;
    // The positions a stretch may spend: what the limits leave, and where clicks are joined
    // later, what single clicks have left before then.
    const auto tope = [&](std::uint64_t gastadas, std::uint64_t tramo) {
      std::uint64_t p = quedan ? quedan - std::min(quedan, gastadas) : 0;
      if (tramo) p = p ? std::min(p, tramo) : tramo;
      if (juntarTras) {
        const std::uint64_t usadas = r.Posiciones + gastadas;
        const std::uint64_t hasta = antesDeJuntar - std::min(antesDeJuntar, usadas);
        p = p ? std::min(p, hasta) : hasta;
      }
      return std::max<std::uint64_t>(p, 1);
    };
    // Whether a stretch stopped at its share of positions with time and positions left.
    const auto seguirTras = [&](const TResultado& x, std::uint64_t tramo) {
      return x.Veredicto == TVeredicto::NoSeSabe && x.Posiciones >= tramo &&
             !parar.stop_requested() && x.Milisegundos < msQuedan &&
             (!quedan || x.Posiciones < quedan);
    };
    const auto sumar = [](TResultado& x, const TResultado& antes) {
      x.Posiciones += antes.Posiciones;
      x.Milisegundos += antes.Milisegundos;
      x.MemoriaPico = std::max(x.MemoriaPico, antes.MemoriaPico);
      x.Desajustes += antes.Desajustes;
    };
    TLimites primera = resto;
    if (cualquiera || juntarTras)
      primera.Posiciones = tope(0, cualquiera ? (celdas ? kAntesDeCeldas : kAntesDeOrdenar) : 0);
    TResultado fin;
    bool sigue = true;
    if (!soloJuntos) {
      fin = afresco(primera, std::nullopt)->Buscar();
      sigue = (cualquiera || juntarTras) && seguirTras(fin, primera.Posiciones);
    }
    // With free cells, the stretch above (cells counting nothing, order 20) runs for
    // 20,000 positions, then starts again afresh with each card in the way (Estorbos.h)
    // counting 30 against a position and a card in order 10: the search undoes the piles
    // that hide the next cards home instead of building runs over them (Pingüino
    // Patagónico 60 and 799 and Squadron Español 276, 506 and 686, won after 0.27 to 0.76
    // million positions of the stretch above, are won within 21,000 of this one). The
    // plain stretch first keeps the deals it wins at once (Pingüino Patagónico 669,
    // within 7,193) that the other loses for millions of positions. The weights sit
    // between two that each lose a deal: cards in the way at 20 leave Pingüino
    // Patagónico 60 at 0.4 million positions of this stretch, at 45 Squadron Español 276.
    constexpr std::uint64_t kAntesDeEstorbos = 20000;
    constexpr std::int32_t kPesoEstorbo = 30;
    constexpr std::int32_t kPesoOrdenConEstorbos = 10;
    struct TTramo {
      std::uint64_t posiciones;  // none: to the end
      std::int32_t estorbo;
    };
    std::vector<TTramo> tramos;
    if (cualquiera) {
      if (celdas) tramos.push_back({kAntesDeEstorbos, 0});
      tramos.push_back({0, celdas ? kPesoEstorbo : 0});
    }
    const auto pesar = [&](TIntento& intento, std::int32_t estorbo) {
      if (!estorbo) return;
      intento.PesarEstorbos(estorbo);
      intento.PesarOrden(kPesoOrdenConEstorbos);
    };
    std::int32_t estorboFin = 0;  // the last stretch's, for the stretch with clicks joined
    for (const TTramo& t : tramos) {
      if (!sigue || soloJuntos) break;
      resto.Milisegundos = msQuedan - fin.Milisegundos;
      resto.Posiciones = juntarTras || t.posiciones ? tope(fin.Posiciones, t.posiciones)
                                                    : (quedan ? quedan - fin.Posiciones : 0);
      const TResultado antes = fin;
      auto nueva = afresco(resto, kPesoOrdenFin);
      pesar(*nueva, t.estorbo);
      estorboFin = t.estorbo;
      fin = nueva->Buscar();
      sumar(fin, antes);
      sigue = seguirTras(fin, antes.Posiciones + resto.Posiciones) && (t.posiciones || juntarTras);
    }
    if (juntarTras && sigue) {
      resto.Milisegundos = msQuedan - fin.Milisegundos;
      resto.Posiciones = quedan ? quedan - fin.Posiciones : 0;
      const TResultado antes = fin;
      auto juntos = afresco(resto, cualquiera ? std::optional<std::int32_t>{kPesoOrdenFin} : std::nullopt);
      pesar(*juntos, estorboFin);
      juntos->ClicsJuntos();
      fin = juntos->Buscar();
      sumar(fin, antes);
    }
    fin.Posiciones += r.Posiciones;
    fin.Milisegundos += r.Milisegundos;
    fin.MemoriaPico = std::max(fin.MemoriaPico, r.MemoriaPico);
    fin.Desajustes += r.Desajustes;
    return conNumero(fin);
  }
  // Where no empty pile takes a card, the short search goes on from where it paused, its
  // figures with it.
  corta->Limitar(msQuedan, quedan);
  TResultado fin = corta->Buscar();
  fin.Posiciones += vistazo.Posiciones;
  fin.Milisegundos += vistazo.Milisegundos;
  fin.MemoriaPico = std::max(fin.MemoriaPico, r.MemoriaPico);
  fin.Desajustes += vistazo.Desajustes;
  return conNumero(fin);
}

bool LineaGana(TPrepararJuego preparar, std::int32_t numero, const std::vector<TPaso>& pasos,
               const std::vector<TPaso>& linea) {
  TMesa m;
  Jugar(m, preparar, numero, pasos);
  for (const TPaso& p : linea)
    if (!AplicarPaso(m, p)) return false;
  return m.VentanaPropia.Ganado;
}
