# One warning set for every target of ours; CI turns them into errors.
add_library(crv_warnings INTERFACE)
target_compile_options(crv_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual>
  $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>
  $<$<BOOL:${CRV_WERROR}>:-Werror>)

if(CRV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  add_compile_definitions(CRV_SANITIZED)
endif()

# Every library instrumented for coverage; the fuzz targets alone link libFuzzer's main.
if(CRV_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
