// Signed records answers. A service with a key ends every records answer with one more record, joined to
// the records before it by "[BR]" (standing alone when there are none):
//   ENCODED("PROOF") "|SIGNED[DEF]from=" F "|until=" U "|to=" T "|p256=" SIGNATURE
// Its action is one that no client applies and its kind holds no "S" (which would send it to the safe
// list), so a client without a key skips it. SIGNATURE is the ECDSA P-256 / SHA-256 signature (r then s,
// 128 lower-case hex digits) of
//   "Grimsweep definitions\nfrom=" F "\nuntil=" U "\nto=" T "\n" followed by every byte before that "[BR]"
// F is the publication date the records count from (empty: before the first publication), U the next
// publication after F (empty: none), T the newest publication; all in the service's US form. The answer
// serves every client whose definitions date D has F <= D < U, and brings that client to T.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/signatures.h"
#include "platform/system.h"

namespace grimsweep {

inline constexpr std::string_view kSignatureKind = "PROOF";
inline constexpr std::string_view kSignatureAction = "SIGNED";

struct AnswerSpan {
    std::string from;
    std::string until;
    std::string to;
};

// The bytes the signature covers.
std::string SignedMessage(const AnswerSpan& span, std::string_view records);
// `records` followed by the signature record for `signature` (raw, 64 bytes).
std::string WithSignatureRecord(std::string_view records, const AnswerSpan& span, std::string_view signature);

// Why a signed answer was refused.
enum class SignatureRefusal {
    None,
    Missing,    // no signature record at the end, or bytes after it
    Malformed,  // the record's fields or dates cannot be read
    Invalid,    // another key made it, or the records are not the bytes it covers
    OtherStart, // made for clients at another definitions date: an older answer replayed
    NotNewer,   // it brings no date after the client's
    Future,     // it brings a date more than a day past the machine's clock
};

struct SignatureCheck {
    SignatureRefusal refusal = SignatureRefusal::None;
    std::string_view records; // the records before the signature record
    LocalDateTime to{};       // the date the answer brings the client to
};

// Checks `answer` against the service's public key (raw, 65 bytes) for a client whose definitions date is
// `current`, when the machine's clock says `now`.
SignatureCheck CheckSignedAnswer(ISignatures& signatures, std::string_view publicKey, std::string_view answer,
                                 const LocalDateTime& current, const LocalDateTime& now);

} // namespace grimsweep
