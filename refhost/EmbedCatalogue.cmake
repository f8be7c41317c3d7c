# Writes the catalogue file IN as the C++ source OUT, so the host carries its catalogue with it.
file(READ ${IN} text)
file(WRITE ${OUT} "// Generated from ${IN}.\nnamespace refhost {\nextern const char BuiltinCatalogue[];\nconst char BuiltinCatalogue[] = R\"catalogue(${text})catalogue\";\n}\n")
