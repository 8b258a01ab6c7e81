<html><?php echo $name; ?> body words <!-- gone --></html>
