#pragma once
// The shape every record file of the player shares: one JSON object holding the file's
// "version" and, under one name, an object with an entry per game key. Reading takes
// whole files only: anything that is not ours, of a version we do not know, or too big
// reads as no entries; an entry that its reader refuses is left out alone.
#include <QJsonObject>
#include <QString>

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

struct TFormatoRegistro {
  const char* Archivo;       // in the folder of the player's files
  QString Entradas;          // the name of the object that holds the entries
  int VersionMinima;         // the oldest version still read
  int Version;               // the one written
  std::size_t MaximoBytes;   // a larger file is not read
};

// A whole number within [minimo, maximo], or none.
std::optional<double> EnteroJson(const QJsonValue& v, double minimo, double maximo);

// The object of entries and the file's version; none when the text is not such a file.
struct TRegistroLeido {
  int Version;
  QJsonObject Entradas;
};
std::optional<TRegistroLeido> AbrirRegistroJson(std::string_view datos,
                                                const TFormatoRegistro& formato);

// Every entry with a key that `leer(objeto, version)` accepts.
template <class T, class Leer>
std::map<std::string, T> LeerRegistroJson(std::string_view datos, const TFormatoRegistro& formato,
                                          Leer leer) {
  std::map<std::string, T> r;
  const auto registro = AbrirRegistroJson(datos, formato);
  if (!registro) return r;
  for (auto it = registro->Entradas.begin(); it != registro->Entradas.end(); ++it) {
    if (it.key().isEmpty() || !it.value().isObject()) continue;
    if (std::optional<T> e = leer(it.value().toObject(), registro->Version))
      r.emplace(it.key().toStdString(), std::move(*e));
  }
  return r;
}

// The file's bytes, or an empty text when it is missing or unreadable.
std::string LeerArchivoRegistro(const std::filesystem::path& carpeta,
                                const TFormatoRegistro& formato);

// The whole file, at the current version, with these entries.
std::string RegistroEnJson(const TFormatoRegistro& formato, const QJsonObject& entradas);
// Written atomically; false when the file could not be written.
bool GuardarRegistro(const std::filesystem::path& carpeta, const TFormatoRegistro& formato,
                     const QJsonObject& entradas);
