# Makes the default opening book from the book corpus with the engine just
# built, run as an operator runs it:
#
#   cmake -DXZ=... -DENGINE=... -DCORPUS=... -DWORK=... -DBOOK=... -P default_book.cmake
#
# WORK is a scratch folder for the engine (its log, the unpacked games); the
# book, its databases and game file go into BOOK. The book is made afresh from
# the corpus alone, never added to.
foreach(argument XZ ENGINE CORPUS WORK BOOK)
  if(NOT DEFINED ${argument})
    message(FATAL_ERROR "default_book.cmake needs -D${argument}=...")
  endif()
endforeach()

file(MAKE_DIRECTORY ${WORK} ${BOOK})
execute_process(COMMAND ${XZ} -dc ${CORPUS} OUTPUT_FILE ${WORK}/book-corpus.pgn RESULT_VARIABLE unpacked)
if(NOT unpacked EQUAL 0)
  message(FATAL_ERROR "Cannot unpack ${CORPUS} with ${XZ}")
endif()
file(REMOVE ${BOOK}/book.game)

# The engine reads words separated by blanks: the book's folder is named from
# the scratch folder, with no blanks of the build folder's path in it.
file(RELATIVE_PATH folder ${WORK} ${BOOK})
file(WRITE ${WORK}/makebook.txt "makebook book-corpus.pgn into ${folder}\nquit\n")
execute_process(COMMAND ${ENGINE} WORKING_DIRECTORY ${WORK} INPUT_FILE ${WORK}/makebook.txt
                OUTPUT_FILE ${WORK}/makebook.log RESULT_VARIABLE ran)
file(REMOVE ${WORK}/book-corpus.pgn)
file(READ ${WORK}/makebook.log log)
string(REGEX MATCH "makebook: done[^\n]*" summary "${log}")
if(NOT ran EQUAL 0 OR NOT summary)
  message(FATAL_ERROR "makebook did not make the default book:\n${log}")
endif()
message(STATUS "${summary}")
