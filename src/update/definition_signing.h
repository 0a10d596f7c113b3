// The service's side of signed updates: the key file gsdefs keeps, and the signed answers it stores for
// every date a client can ask from, made once when records are published, so that serving needs no key.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/signatures.h"
#include "update/definition_publisher.h"

namespace grimsweep {

// Beside the store: one line per date a client can ask from, "F<tab>U<tab>T<tab>SIGNATURE" (the fields
// of the signature record).
inline constexpr std::string_view kSignaturesFile = "signatures.txt";
inline constexpr std::string_view kDefinitionKeyName = "DefinitionKey";

// The private key file: a comment line, "private=" and "public=" with the raw keys in hex.
std::string KeyFileText(const P256KeyPair& pair);
std::optional<P256KeyPair> ParseKeyFile(std::string_view text);
// "DefinitionKey=" and the public key in hex: the line for the program's Grimsweep.ini.
std::string DefinitionKeyLine(const P256KeyPair& pair);

// The signatures file for a store: an answer for clients before the first publication, one from every
// publication date, and last one for clients at any date (from and until empty). Nothing when the key
// cannot sign.
std::optional<std::string> SignatureLines(const std::vector<Publication>& publications,
                                          ISignatures& signatures, const P256KeyPair& key);

// The distinct publication dates, oldest first.
std::vector<LocalDateTime> PublicationDates(const std::vector<Publication>& publications);

// The records answer for a client at `after`, with the signature record the signatures file holds for
// it; without one when the file has none (an unsigned service).
std::string RecordsAnswer(const std::vector<Publication>& publications, std::string_view signaturesText,
                          const LocalDateTime& after);
// Every record, with the signature for clients at any date; a store signed before that answer existed
// gives its answer for clients before the first publication instead.
std::string AnyDateAnswer(const std::vector<Publication>& publications, std::string_view signaturesText);

} // namespace grimsweep
