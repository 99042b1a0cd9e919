#include "play/registros/PartidaGuardada.h"

#include <QJsonArray>

#include <limits>

#include "play/registros/RegistroJson.h"
#include "tools/Pasos.h"

namespace {

constexpr qsizetype kMaximoPasos = 200000;

const TFormatoRegistro kFormato{ArchivoPartidas, QStringLiteral("partidas"), VersionPartidas,
                                VersionPartidas, 8 * 1024 * 1024};
const QString kGanable = QStringLiteral("ganable");

std::optional<TPartidaGuardada> LeerUna(const QJsonObject& o, int) {
  const auto numero = EnteroJson(o.value(QStringLiteral("numero")),
                                 std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max());
  const auto minutos = EnteroJson(o.value(QStringLiteral("minutos")), 0, 65535);
  const QJsonValue ayuda = o.value(QStringLiteral("ayuda"));
  const QJsonValue pasos = o.value(QStringLiteral("pasos"));
  // Kept games of older programs do not say whether the deal was proven ganable.
  const QJsonValue ganable = o.value(kGanable);
  if (!numero || !minutos || !ayuda.isBool() || !pasos.isArray() ||
      !(ganable.isUndefined() || ganable.isBool()))
    return std::nullopt;
  const QJsonArray lista = pasos.toArray();
  if (lista.size() > kMaximoPasos) return std::nullopt;
  TPartidaGuardada p;
  p.Numero = static_cast<std::int32_t>(*numero);
  p.Minutos = static_cast<std::uint16_t>(*minutos);
  p.AyudaUsada = ayuda.toBool();
  p.RepartoGanable = ganable.toBool();
  p.Pasos.reserve(static_cast<std::size_t>(lista.size()));
  for (const QJsonValue& paso : lista) {
    if (!paso.isString()) return std::nullopt;
    std::string texto = paso.toString().toStdString();
    if (!LeerPaso(texto)) return std::nullopt;
    p.Pasos.push_back(std::move(texto));
  }
  return p;
}

QJsonObject EnJson(const TPartidasGuardadas& partidas) {
  QJsonObject juegos;
  for (const auto& [clave, p] : partidas) {
    QJsonArray pasos;
    for (const std::string& paso : p.Pasos) pasos.append(QString::fromStdString(paso));
    QJsonObject o{{QStringLiteral("numero"), static_cast<double>(p.Numero)},
                  {QStringLiteral("minutos"), static_cast<double>(p.Minutos)},
                  {QStringLiteral("ayuda"), p.AyudaUsada},
                  {QStringLiteral("pasos"), pasos}};
    if (p.RepartoGanable) o.insert(kGanable, true);
    juegos.insert(QString::fromStdString(clave), o);
  }
  return juegos;
}

}  // namespace

std::string PartidasEnJson(const TPartidasGuardadas& partidas) {
  return RegistroEnJson(kFormato, EnJson(partidas));
}

TPartidasGuardadas LeerPartidasJson(std::string_view datos) {
  return LeerRegistroJson<TPartidaGuardada>(datos, kFormato, LeerUna);
}

TPartidasGuardadas LeerPartidas(const std::filesystem::path& carpeta) {
  return LeerPartidasJson(LeerArchivoRegistro(carpeta, kFormato));
}

std::optional<TPartidaGuardada> LeerPartida(const std::filesystem::path& carpeta,
                                            const std::string& clave) {
  TPartidasGuardadas todas = LeerPartidas(carpeta);
  const auto it = todas.find(clave);
  if (it == todas.end()) return std::nullopt;
  return std::move(it->second);
}

bool GuardarPartida(const std::filesystem::path& carpeta, const std::string& clave,
                    const std::optional<TPartidaGuardada>& partida) {
  TPartidasGuardadas todas = LeerPartidas(carpeta);
  if (partida)
    todas[clave] = *partida;
  else if (todas.erase(clave) == 0)
    return true;
  return GuardarRegistro(carpeta, kFormato, EnJson(todas));
}
