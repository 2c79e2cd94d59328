#!/usr/bin/perl
# The IDL file brannock-cli --language idl wrote, with what widl (Wine 8)
# does not read taken out, so that widl compiles the rest:
#   scripts/idl-for-widl.pl IDL_IN IDL_OUT LOG
# LOG gets one line per change, "CLASS<TAB>DETAIL", for
# scripts/idl-round-trip-differences.pl, which accounts for what each
# change costs the rebuilt library.
#
# member-attribute: widl takes no attribute but id and readonly on the
#   constants of an enumeration, the fields of a record or union and the
#   properties of a dispinterface; DETAIL is the attribute (a helpstring
#   with its text, which the Object Pascal unit shows as a comment).
# type-attribute: type attributes widl does not take for the kind of the
#   type, or at all (predeclid, replaceable); DETAIL "KIND NAME WORD".
# function-attribute: function attributes widl has no word for
#   (replaceable, usesgetlasterror); DETAIL the word.
# real-literal: widl reads no real numbers. A parameter's default value
#   is left out (DETAIL the value), a module constant becomes 0.
# safearray-pointer: widl reads no pointer type inside SAFEARRAY(); the
#   element type is given a name of its own (a typedef that is not public,
#   so the library keeps the pointer type).
# dispatch-base-import: when a dispinterface comes before a dual interface,
#   widl writes the import of IDispatch for the dual without its GUID, so
#   the rebuilt dual finds no IDispatch; DETAIL the dual's name (every dual
#   after the first dispinterface).
# duplicate-name: a library may declare two types of one name, IDL cannot;
#   the second and further declarations are left out (DETAIL the name).
# coclass-import: widl copies into the library every interface a coclass
#   implements, also one of an imported library; such members are left out
#   (DETAIL "COCLASS NAME").
use strict;
use warnings;

my ($in_file, $out_file, $log_file) = @ARGV;
die "usage: idl-for-widl.pl IDL_IN IDL_OUT LOG\n" unless defined $log_file;
open(my $in, '<:raw', $in_file) or die "$in_file: $!";
my @lines = <$in>;
close $in;
my @log;

# The attributes of "[a, b(c, "d"), e]" at the start of TEXT: the list and
# the rest of the text; none when TEXT starts otherwise.
sub split_attributes {
  my ($text) = @_;
  return () unless $text =~ /^(\s*)\[/;
  my $lead = $1;
  my ($depth, $in_string, $closed, @words) = (0, 0, 0);
  my $word = '';
  my $i = length($lead) + 1;
  for (; $i < length($text); ++$i) {
    my $c = substr($text, $i, 1);
    if ($in_string) {
      $word .= $c;
      if ($c eq '\\') { $word .= substr($text, ++$i, 1) }
      elsif ($c eq '"') { $in_string = 0 }
      next;
    }
    if ($c eq '"') { $in_string = 1 }
    elsif ($c eq '(') { ++$depth }
    elsif ($c eq ')') { --$depth }
    elsif ($c eq ']' && $depth == 0) { $closed = 1; last }
    elsif ($c eq ',' && $depth == 0) { push @words, $word; $word = ''; next }
    $word .= $c;
  }
  # A list that goes on over lines (the library's) is left as it is.
  return () unless $closed;
  push @words, $word if $word ne '';
  s/^\s+|\s+$//g for @words;
  return ($lead, [@words], substr($text, $i + 1));
}

sub join_attributes {
  my ($lead, $words, $rest) = @_;
  return @$words ? $lead . '[' . join(', ', @$words) . ']' . $rest : $lead . ($rest =~ s/^ //r);
}

my $real = qr/-?(?:\d+\.\d*|\d*\.\d+|\d+(?:\.\d*)?[Ee][-+]?\d+|INF|NAN)/;
my %rejected = (
  interface => [qw(appobject licensed predeclid control aggregatable replaceable noncreatable)],
  dispinterface => [qw(appobject licensed predeclid control dual nonextensible oleautomation aggregatable
                       replaceable noncreatable version)],
  coclass => [qw(predeclid dual nonextensible oleautomation replaceable)],
  typedef => [qw(appobject licensed predeclid control dual nonextensible oleautomation aggregatable replaceable
                 noncreatable)],
  module => [qw(appobject licensed predeclid control dual nonextensible oleautomation aggregatable replaceable
                noncreatable)]);

# Names the library block defines, for the members of coclasses.
my (%local, %interface, %in_library_line, $in_library);
for my $n (0 .. $#lines) {
  $_ = $lines[$n];
  $in_library = 1 if /^library /;
  $in_library = 0 if /^\};/;
  next unless $in_library;
  $in_library_line{$n} = 1;
  $local{$2} = $interface{$2} = 1 if /^\s+(interface|dispinterface) (\w+)\b(?! *;)/;
  $local{$1} = 1 if /^\s+coclass (\w+)\b(?! *;)/;
  $local{$1} = 1 if /^\s+\} (\w+);/ || /^\s+typedef .* (\w+)(?:\[[^\]]*\])*;\s*$/;
}

my (@out, $block, $block_kind, $block_name, $section, $helpers, $after_dispinterface, %declared, $skipping);
my $helper_count = 0;
for (my $n = 0; $n < @lines; ++$n) {
  my $line = $lines[$n];
  my $next = $n + 1 < @lines ? $lines[$n + 1] : '';
  # A second declaration of a name in the library block, up to its blank line.
  if ($skipping) {
    $skipping = 0 if $line =~ /^\s*$/;
    next;
  }
  if ($in_library_line{$n}) {
    my $name = $line =~ /^\s+(?:\[[^\]]*\]\s*)?$/ && $next =~ /^\s+(?:interface|dispinterface|coclass|module) (\w+) .*\{\s*$/ ? $1
             : $line =~ /^\s+typedef .*\b(?:enum|struct|union) (\w+) \{\s*$/ ? $1
             : $line =~ /^\s+typedef .* (\w+)(?:\[[^\]]*\])*;\s*$/ ? $1 : undef;
    if (defined $name && $declared{$name}++) {
      push @log, "duplicate-name\t$name";
      $skipping = 1;
      next;
    }
    $after_dispinterface = 1 if $line =~ /^\s+dispinterface \w+ \{\s*$/;
    if ($after_dispinterface && !$local{IDispatch} && $line =~ /^\s+interface (\w+) : \w+ \{\s*$/) {
      my $dual = $1;
      push @log, "dispatch-base-import\t$dual" if $lines[$n - 1] =~ /\bdual\b/;
    }
  }
  # Where the line stands: which block, and in a dispinterface which section.
  if ($line =~ /^\s*typedef .*\b(enum|struct|union) (\w+) \{\s*$/) { ($block, $block_name) = ($1, $2) }
  elsif ($line =~ /^\s*(interface|dispinterface|coclass|module) (\w+)\b.*\{\s*$/) { ($block, $block_name) = ($1, $2); $section = '' }
  elsif ($line =~ /^\s*\}( \w+)?;/) { undef $block }
  elsif (defined $block && $line =~ /^\s*(properties|methods):/) { $section = $1 }
  my $member = defined $block && ($block =~ /^(enum|struct|union)$/ || ($block eq 'dispinterface' && $section eq 'properties'));

  if (my ($lead, $words, $rest) = split_attributes($line)) {
    my @kept;
    # The attribute line of a type: the head follows it, or is on it (typedef).
    my ($kind, $name);
    if ($line =~ /^\s*typedef /) { ($kind, $name) = ('typedef', ($line =~ /(\w+)(?:\[[^\]]*\])*;\s*$/ || $line =~ /(\w+) \{/) ? $1 : '') }
    elsif ($rest =~ /^\s*$/ && $next =~ /^\s*(interface|dispinterface|coclass|module) (\w+)/) { ($kind, $name) = ($1, $2) }
    for my $w (@$words) {
      my ($word) = $w =~ /^(\w+)/;
      $word //= '';
      if ($member && $word !~ /^(id|readonly)$/) {
        push @log, "member-attribute\t$w";
      } elsif (defined $kind && grep { $_ eq $word } @{$rejected{$kind}}) {
        push @log, "type-attribute\t$kind $name $word";
      } elsif (!defined $kind && $word =~ /^(replaceable|usesgetlasterror|predeclid)$/) {
        push @log, "function-attribute\t$word";
      } elsif ($w =~ /^defaultvalue\(($real)\)$/) {
        push @log, "real-literal\t$1";
      } else {
        push @kept, $w;
      }
    }
    $line = join_attributes($lead, \@kept, $rest) if @kept != @$words;
  }
  # Default values of parameters: widl reads no real number, and writes
  # a default of a real type (float, double, DATE, CURRENCY) as if its
  # integer were the real's bits.
  $line =~ s{\[((?:in|out|lcid|retval|optional|defaultvalue)\b[^\[\]]*)\]( (?:unsigned )?\w+)}{
    my ($list, $type) = ($1, $2);
    my ($value) = $list =~ /\bdefaultvalue\(((?:[^()"]|"(?:[^"\\]|\\.)*")*)\)/;
    if (defined $value && ($value =~ /^$real$/ || $type =~ /^ (float|double|DATE|CURRENCY)$/)) {
      push @log, "real-literal\t$value";
      $list =~ s/(, )?defaultvalue\(\Q$value\E\)//;
      $list =~ s/^, //;
    }
    $list eq '' ? substr($type, 1) : "[$list]$type"
  }ge;
  if ($line =~ /^(\s*(?:\[[^\]]*\] )?const \w[\w ]*\*? \w+ = )($real)(;.*)$/s) {
    push @log, "real-literal\t$2";
    $line = "${1}0$3";
  }
  while ($line =~ /SAFEARRAY\(([^()]*\*)\)/) {
    my $element = $1;
    my $helper = 'widl_safearray_element_' . ++$helper_count;
    my ($target) = $element =~ /^(\w+)\*/;
    $helpers .= "interface $target;\n" if defined $target && $interface{$target};
    $helpers .= "typedef $element $helper;\n";
    $line =~ s/SAFEARRAY\(\Q$element\E\)/SAFEARRAY($helper)/;
    push @log, "safearray-pointer\t$element";
  }
  if (defined $block && $block eq 'coclass' && $line =~ /^\s*(?:\[[^\]]*\] )?(?:interface|dispinterface) (\w+);/ &&
      !$local{$1}) {
    push @log, "coclass-import\t$block_name $1";
    next;
  }
  push @out, $line;
}
# The helper typedefs go before the library's attributes.
if (defined $helpers) {
  for my $i (0 .. $#out) {
    next unless $out[$i] =~ /^library / && $i > 0;
    my $at = $i;
    $at-- while $at > 0 && $out[$at - 1] !~ /^\s*$/;
    splice(@out, $at, 0, $helpers);
    last;
  }
}
open(my $out, '>:raw', $out_file) or die "$out_file: $!";
print $out @out;
close $out;
open(my $logh, '>:raw', $log_file) or die "$log_file: $!";
print $logh "$_\n" for @log;
close $logh;
