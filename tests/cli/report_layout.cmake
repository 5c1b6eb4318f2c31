# Long header texts on the printed page: on single and comparison pages of kinds 0, 1 and 4
# no two words overlap, every word lies inside the 10 mm margins, no word crosses from one
# column of the value grid into the next, Track takes at most its two rows, and cut texts end
# with an ellipsis. Read back with pdftotext -bbox (positions in points, 72 to the inch).
# Called with -DCLI=<ostiva-cli> -DWORK=<scratch directory> -DLANGUAGE=<language file>.
cmake_minimum_required(VERSION 3.21)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

set(samples "")
foreach(k RANGE 200)
  math(EXPR x "-500 + 5 * ${k}")
  math(EXPR phase "${k} % 40")
  if(phase LESS 20)
    string(APPEND samples "${x} 0.25\r\n")
  else()
    string(APPEND samples "${x} -0.2\r\n")
  endif()
endforeach()
# Group C values wider than their boxes: -10.50 and -11.25 side by side on a comparison page.
function(profile name speed owner track location weldType operator weld job)
  file(WRITE "${WORK}/${name}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n"
    "<INFO_AUTO DEVICE=\"04127-NL-2026-A\" DATUM=\"03-02-2026\" TIJD=\"23:59:59\" "
    "EIGENAAR=\"${owner}\"/>\r\n"
    "<INFO_MANU PLAATS=\"${location}\" SPOOR=\"${track}\" KM=\"60E1 (UIC60) hardheid R260 Mn\" "
    "RAIL=\"Links (binnenstreng)\" LASTYPE=\"${weldType}\" LASSER=\"${operator}\" "
    "LASNR=\"${weld}\" WERKNUMMER=\"${job}\" WISSEL=\"Wissel 1021B / km 12.345 tot km 12.400\" "
    "SNELHEID=\"${speed}\"/>\r\n"
    "<TOP_MEAS POSP=\"-10.5\" NEGP=\"-11.25\" POSH=\"123.456\" NEGH=\"-99.99\">\r\n${samples}"
    "</TOP_MEAS>\r\n<ZIJ_MEAS POSP=\"-10.5\" NEGP=\"-11.25\" POSH=\"12.5\" NEGH=\"-10.75\">\r\n"
    "${samples}</ZIJ_MEAS>\r\n</METING>\r\n")
endfunction()
set(track150 "Spoor 3b tussen wissel 1021 en overweg Kerkweg, richting Utrecht, naast perron 7a, ")
string(APPEND track150 "proefvak herstelde las na spoorstaafbreuk van 14 maart ter hoogte van sein")
string(REPEAT "X" 150 blankless150)
set(owner60 "ProRail Infra Onderhoud Regio Randstad Noord en Amsterdam BV")
set(owner120 "Nederlandse Spoorwegen Infrastructuur Onderhoud en Vernieuwing Afdeling ")
string(APPEND owner120 "Lasteams Noord-Holland Zuid-Holland Utrecht en Flevoland")
profile(zq1.xml "160.0" "${owner60}" "${track150}" "Amsterdam Centraal"
  "Thermietlas met voorverwarming SkV-Elite L25 lange voorwarmtijd"
  "Jan-Willem van der Heijden-Oosterhuis" "LAS2026-0001-AMSTERDAMCENTRAAL-SPOOR3B-WISSEL1021"
  "WO-2026-000123-ONDERHOUD-RANDSTAD-NOORD")
profile(zq2.xml "80" "${owner120}" "${blankless150}" "Rotterdam Noord"
  "Elektrische afbrandstuiklas (mobiele installatie, Schlatter GAAS 80)"
  "Pieter-Jan Vermeulen-Brouwers" "W-17" "WO-7")

# The words of page `page` as variables w<i>_x0 ... w<i>_y1 (points) and w<i>_text, and
# their number in `<prefix>count`.
function(read_words pdf page)
  execute_process(COMMAND pdftotext -bbox -f ${page} -l ${page} "${pdf}" -
    OUTPUT_VARIABLE html RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pdftotext ${pdf} page ${page}: status ${status}")
  endif()
  # Brackets and semicolons would split CMake lists.
  string(REPLACE "[" "(" html "${html}")
  string(REPLACE "]" ")" html "${html}")
  string(REPLACE ";" ":" html "${html}")
  string(REGEX MATCHALL "<word [^<]*</word>" tags "${html}")
  set(count 0)
  foreach(tag IN LISTS tags)
    string(REGEX MATCH
      "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)<"
      found "${tag}")
    set(w${count}_x0 ${CMAKE_MATCH_1} PARENT_SCOPE)
    set(w${count}_y0 ${CMAKE_MATCH_2} PARENT_SCOPE)
    set(w${count}_x1 ${CMAKE_MATCH_3} PARENT_SCOPE)
    set(w${count}_y1 ${CMAKE_MATCH_4} PARENT_SCOPE)
    set(w${count}_text "${CMAKE_MATCH_5}" PARENT_SCOPE)
    math(EXPR count "${count} + 1")
  endforeach()
  set(count ${count} PARENT_SCOPE)
  set(html "${html}" PARENT_SCOPE)
endfunction()

# Millimetres (one decimal, as text) of the band to points of the sheet.
function(band_points mm result)
  string(REPLACE "." "" tenths "${mm}")
  if(NOT mm MATCHES "\\.")
    set(tenths "${mm}0")
  endif()
  math(EXPR hundredths "(${tenths} + 100) * 7200 / 254")
  math(EXPR whole "${hundredths} / 100")
  math(EXPR part "${hundredths} % 100")
  if(part LESS 10)
    set(part "0${part}")
  endif()
  set(${result} "${whole}.${part}" PARENT_SCOPE)
endfunction()

# The margins: the band is 277 x 190 mm inside them.
band_points(0.0 margin)
band_points(277.0 right)
band_points(190.0 bottom)
band_points(138.7 gridTop)
band_points(136.8 trackLeft)
band_points(187.1 trackRight)
band_points(177.0 trackTop)

# Column gaps of the value grid, from:to:bottom in band millimetres: no word above `bottom`
# starts before a gap and ends after it. Groups C and D end at row 5, above the web address.
set(singleWalls "112.5:113.8:190.0" "187.1:187.1:190.0" "231.5:243.2:180.0")
set(comparisonWalls "69.4:70.2:190.0" "113.3:113.8:190.0" "161.9:163.0:190.0"
  "186.8:187.1:190.0" "231.5:232.4:180.0" "241.7:243.2:180.0" "264.6:264.8:180.0")

function(check_page pdf page walls what)
  read_words("${pdf}" ${page})
  if(count LESS 40)
    message(FATAL_ERROR "${what}: only ${count} words")
  endif()
  math(EXPR last "${count} - 1")
  set(trackRows "")
  foreach(i RANGE ${last})
    set(text "${w${i}_text}")
    if(w${i}_x0 LESS margin OR w${i}_y0 LESS margin OR w${i}_x1 GREATER right OR
       w${i}_y1 GREATER bottom)
      message(FATAL_ERROR "${what}: '${text}' outside the margins: "
        "${w${i}_x0} ${w${i}_y0} ${w${i}_x1} ${w${i}_y1}")
    endif()
    if(NOT w${i}_y0 LESS gridTop)
      foreach(wall IN LISTS walls)
        string(REPLACE ":" ";" wall "${wall}")
        list(GET wall 0 from)
        list(GET wall 1 to)
        list(GET wall 2 wallBottom)
        band_points(${from} from)
        band_points(${to} to)
        band_points(${wallBottom} wallBottom)
        if(w${i}_x0 LESS from AND w${i}_x1 GREATER to AND w${i}_y0 LESS wallBottom)
          message(FATAL_ERROR "${what}: '${text}' crosses the column gap at ${from} pt")
        endif()
      endforeach()
      if(NOT w${i}_x0 LESS trackLeft AND w${i}_x0 LESS trackRight AND
         NOT w${i}_y0 LESS trackTop)
        list(APPEND trackRows "${w${i}_y0}")
      endif()
    endif()
    math(EXPR next "${i} + 1")
    if(next GREATER last)
      continue()
    endif()
    foreach(j RANGE ${next} ${last})
      if(w${i}_x0 LESS w${j}_x1 AND w${j}_x0 LESS w${i}_x1 AND
         w${i}_y0 LESS w${j}_y1 AND w${j}_y0 LESS w${i}_y1)
        message(FATAL_ERROR "${what}: '${text}' overlaps '${w${j}_text}'")
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES trackRows)
  list(LENGTH trackRows rows)
  if(rows GREATER 2)
    message(FATAL_ERROR "${what}: Track takes ${rows} rows")
  endif()
  if(NOT html MATCHES "…")
    message(FATAL_ERROR "${what}: no text was cut")
  endif()
endfunction()

foreach(kind 0 1 4)
  set(single "${WORK}/single${kind}.pdf")
  set(compared "${WORK}/compared${kind}.pdf")
  foreach(args "-o;${single};${WORK}/zq1.xml;${WORK}/zq2.xml"
               "--compare;${WORK}/zq1.xml;${WORK}/zq2.xml;-o;${compared}")
    execute_process(COMMAND "${CLI}" report --kind ${kind} --language-file "${LANGUAGE}" ${args}
      RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "report --kind ${kind} ${args}: status ${status}: ${errors}")
    endif()
  endforeach()
  check_page("${single}" 1 "${singleWalls}" "kind ${kind}, zq1.xml")
  check_page("${single}" 2 "${singleWalls}" "kind ${kind}, zq2.xml")
  check_page("${compared}" 1 "${comparisonWalls}" "kind ${kind}, comparison")
endforeach()
