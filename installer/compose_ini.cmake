# The installed Grimsweep.ini: the shipped one with the DefinitionKey= line added to its [Services]
# section (the shipped file ends in that section), CR LF line ends as Windows editors expect.
# -DSOURCE=<Grimsweep.ini> -DKEY_LINE=<file holding DefinitionKey=...> -DOUTPUT=<composed file>
file(READ "${SOURCE}" text)
file(STRINGS "${KEY_LINE}" key REGEX "^DefinitionKey=[0-9a-fA-F]+$")
if(NOT key)
    message(FATAL_ERROR "${KEY_LINE} holds no DefinitionKey= line")
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(APPEND text "; Updates must carry the signature of the definition service's key.\n${key}\n")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
